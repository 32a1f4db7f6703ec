#include "tests/unit/capability/capability_fixture.h"

#include <cstring>

#include "engine/scan_job_flags.h"
#include "link/scanner_link.h"
#include "platform/host/host_control.h"
#include "platform/platform.h"
#include "twain/capability_kept.h"
#include "twain/capability_tables.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

size_t SizeOf(TW_UINT16 itemType) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return 1;
        case TWTY_INT16:
        case TWTY_UINT16:
        case TWTY_BOOL: return 2;
        default: return 4;
    }
}

uint32_t ItemAt(const uint8_t* at, size_t size) {
    uint32_t v = 0;
    std::memcpy(&v, at, size);
    return v;
}

Answer Decode(const TW_CAPABILITY& cap) {
    Answer a;
    a.conType = cap.ConType;
    a.blockBytes = plat::MemSize(cap.hContainer);
    const auto* block = static_cast<const uint8_t*>(plat::MemLock(cap.hContainer));
    if (!block) return a;
    std::memcpy(&a.itemType, block, 2);
    if (a.conType == TWON_ONEVALUE && a.itemType >= TWTY_STR32 && a.itemType <= TWTY_STR255) {
        a.text = reinterpret_cast<const char*>(block + 2);
    } else if (a.conType == TWON_ONEVALUE) {
        a.items.push_back(ItemAt(block + 2, 4));
    } else if (a.conType == TWON_RANGE) {
        for (int i = 0; i < 5; ++i) a.items.push_back(ItemAt(block + 2 + 4 * i, 4));
    } else if (a.conType == TWON_ENUMERATION) {
        const uint32_t n = ItemAt(block + 2, 4);
        a.currentIndex = ItemAt(block + 6, 4);
        a.defaultIndex = ItemAt(block + 10, 4);
        const size_t size = SizeOf(a.itemType);
        for (uint32_t i = 0; i < n && 14 + (i + 1) * size <= a.blockBytes; ++i)
            a.items.push_back(ItemAt(block + 14 + i * size, size));
    }
    plat::MemUnlock(cap.hContainer);
    return a;
}

}  // namespace

std::vector<uint8_t> OneValueBytes(TW_UINT16 itemType, uint32_t item) {
    std::vector<uint8_t> bytes(6);
    std::memcpy(bytes.data(), &itemType, 2);
    std::memcpy(bytes.data() + 2, &item, 4);
    return bytes;
}

void CapabilityTest::SetUp() {
    SourceTest::SetUp();
    InitialiseSource();
    ResetNegotiation(TheNegotiation, "C:\\TEMP\\COR1.TIF");
    TheKeptCapabilities = {};
    ResetFileFormatTable();
    TheScanJobFlags = {};
    TheLink.optionInstalled = false;
    app.Id = 7;
    NameApplication("Test Application");
    EnterState(400);
}

void CapabilityTest::TearDown() {
    // Every container the source built has been decoded and freed, and every block the
    // application built for a setting has been freed: anything left is a leak of the source.
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    SourceTest::TearDown();
}

void CapabilityTest::EnterState(int state) {
    TheSource.SourceState = static_cast<TW_UINT16>(state);
    TheSource.AppIdentity = state == 300 ? TW_IDENTITY{} : app;
}

void CapabilityTest::NameApplication(const char* productName, const char* family) {
    std::strncpy(app.ProductName, productName, sizeof app.ProductName - 1);
    std::strncpy(app.ProductFamily, family, sizeof app.ProductFamily - 1);
    if (TheSource.AppIdentity.Id != 0) TheSource.AppIdentity = app;
}

TW_UINT16 CapabilityTest::Call(TW_UINT16 msg, TW_CAPABILITY& cap) {
    return DS_Entry(&app, DG_CONTROL, DAT_CAPABILITY, msg, &cap);
}

Answer CapabilityTest::Query(TW_UINT16 capId, TW_UINT16 msg) {
    TW_CAPABILITY cap{capId, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = Call(msg, cap);
    Answer a = cap.hContainer ? Decode(cap) : Answer{};
    a.rc = rc;
    if (cap.hContainer) plat::MemFree(cap.hContainer);
    return a;
}

void* CapabilityTest::ApplicationBlock(const void* bytes, size_t size) {
    plat::MemHandle h = plat::MemAlloc(size);
    void* p = plat::MemLock(h);
    if (p && size) std::memcpy(p, bytes, size);
    plat::MemUnlock(h);
    return h;
}

TW_UINT16 CapabilityTest::SetOne(TW_UINT16 capId, TW_UINT16 itemType, uint32_t item) {
    const std::vector<uint8_t> bytes = OneValueBytes(itemType, item);
    TW_CAPABILITY cap{capId, TWON_ONEVALUE, ApplicationBlock(bytes.data(), bytes.size())};
    void* const mine = cap.hContainer;
    const TW_UINT16 rc = Call(MSG_SET, cap);
    plat::MemFree(mine);
    if (cap.hContainer != mine) plat::MemFree(cap.hContainer);  // an answer to a setting
    return rc;
}

TW_UINT16 CapabilityTest::SetEnumeration(TW_UINT16 capId, TW_UINT16 itemType,
                                         const std::vector<uint32_t>& items,
                                         uint32_t currentIndex) {
    const size_t size = SizeOf(itemType);
    std::vector<uint8_t> bytes(14 + items.size() * size);
    const uint32_t header[3] = {static_cast<uint32_t>(items.size()), currentIndex, 0};
    std::memcpy(bytes.data(), &itemType, 2);
    std::memcpy(bytes.data() + 2, header, sizeof header);
    for (size_t i = 0; i < items.size(); ++i) std::memcpy(&bytes[14 + i * size], &items[i], size);
    TW_CAPABILITY cap{capId, TWON_ENUMERATION, ApplicationBlock(bytes.data(), bytes.size())};
    void* const mine = cap.hContainer;
    const TW_UINT16 rc = Call(MSG_SET, cap);
    plat::MemFree(mine);
    if (cap.hContainer != mine) plat::MemFree(cap.hContainer);  // an answer to a setting
    return rc;
}

TW_UINT16 CapabilityTest::Status() {
    TW_STATUS status{0xEEEE, 0};
    DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}
