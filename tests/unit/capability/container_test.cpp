// Containers from the application are refused unless their block really holds what their
// fields claim; containers for the application are built whole or not at all.
#include <cstring>

#include "platform/host/host_control.h"
#include "platform/platform.h"
#include "session/call_codes.h"
#include "tests/unit/capability/capability_fixture.h"
#include "twain/capability_container.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

class ContainerTest : public CapabilityTest {
protected:
    // MSG_SET of the pixel type with the given container; expects a refusal that changes
    // nothing.
    void ExpectRefused(TW_UINT16 conType, void* block, const char* what) {
        TW_CAPABILITY cap{ICAP_PIXELTYPE, conType, block};
        EXPECT_EQ(Call(MSG_SET, cap), TWRC_FAILURE) << what;
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE) << what;
        EXPECT_EQ(TheNegotiation.PixelTypeIndex, 0) << what;
        EXPECT_LE(plat::host::LockCount(block), 0) << what << ": left locked";
        plat::MemFree(block);
    }
    // An enumeration header claiming `numItems` items, followed by `listBytes` of gray items.
    void* Enumeration(TW_UINT16 itemType, uint32_t numItems, size_t listBytes) {
        unsigned char bytes[64] = {};
        std::memcpy(bytes, &itemType, 2);
        std::memcpy(bytes + 2, &numItems, 4);
        for (size_t i = 0; i < listBytes; ++i) bytes[14 + i] = i % 2 == 0 ? TWPT_GRAY : 0;
        return ApplicationBlock(bytes, 14 + listBytes);
    }
};

TEST_F(ContainerTest, MissingDataAndHandlesAreRefused) {
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_CAPABILITY, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
    ExpectRefused(TWON_ONEVALUE, nullptr, "null handle");
    void* freed = ApplicationBlock("\x04\x00\x01\x00\x00\x00", 6);
    plat::MemFree(freed);
    ExpectRefused(TWON_ONEVALUE, freed, "freed handle");
    ExpectRefused(TWON_ONEVALUE, reinterpret_cast<void*>(0x1000), "made-up handle");
}

TEST_F(ContainerTest, BlocksSmallerThanTheirContentAreRefused) {
    ExpectRefused(TWON_ONEVALUE, ApplicationBlock("\x04\x00\x01\x00", 4), "short one-value");
    ExpectRefused(TWON_ENUMERATION, ApplicationBlock("\x04\x00\x01\x00\x00\x00", 6),
                  "enumeration without its header");
    ExpectRefused(TWON_ENUMERATION, Enumeration(TWTY_UINT16, 0, 2), "no items");
    ExpectRefused(TWON_ENUMERATION, Enumeration(TWTY_UINT16, 1, 1), "item cut short");
    ExpectRefused(TWON_ENUMERATION, Enumeration(TWTY_UINT16, 3, 4), "more items than bytes");
    ExpectRefused(TWON_ENUMERATION, Enumeration(TWTY_UINT16, 0x80000001u, 4), "count wraps");
    ExpectRefused(TWON_ONEVALUE, ApplicationBlock("", 0), "empty block");

    void* exact = Enumeration(TWTY_UINT16, 2, 4);
    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, exact};
    EXPECT_EQ(Call(MSG_SET, cap), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.PixelTypeIndex, 1);
    plat::MemFree(exact);
}

TEST_F(ContainerTest, OnlyOneValuesAndEnumerationsOfReadableTypesAreTaken) {
    for (TW_UINT16 conType : {TWON_RANGE, TWON_ARRAY, TW_UINT16(0)}) {
        const std::vector<uint8_t> bytes(22, 0);
        ExpectRefused(conType, ApplicationBlock(bytes.data(), bytes.size()), "container type");
    }
    for (TW_UINT16 itemType : {TWTY_BOOL, TWTY_FRAME, TWTY_STR32, TWTY_HANDLE, TW_UINT16(99)}) {
        const std::vector<uint8_t> bytes = OneValueBytes(itemType, TWPT_GRAY);
        ExpectRefused(TWON_ONEVALUE, ApplicationBlock(bytes.data(), bytes.size()), "item type");
    }
    // A list never holds flags or fixed-point numbers.
    for (TW_UINT16 itemType : {TWTY_BOOL, TWTY_FIX32})
        ExpectRefused(TWON_ENUMERATION, Enumeration(itemType, 1, 4), "list item type");
}

TEST_F(ContainerTest, OneValueItemsAreReadAtTheirOwnWidth) {
    // Only the item's own bytes count: the rest of the 32-bit field is not looked at.
    EXPECT_EQ(SetOne(ICAP_PIXELTYPE, TWTY_UINT8, 0xFFFFFF02), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.PixelTypeIndex, 2);
    EXPECT_EQ(SetOne(ICAP_PIXELTYPE, TWTY_UINT16, 0xFFFF0001), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.PixelTypeIndex, 1);
    EXPECT_EQ(SetOne(ICAP_PIXELTYPE, TWTY_UINT32, 0x00010001), TWRC_FAILURE);
    // Signed types keep their sign.
    EXPECT_EQ(SetOne(ICAP_BRIGHTNESS, TWTY_INT8, 0x80), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.Brightness, -128);
    EXPECT_EQ(SetOne(ICAP_CONTRAST, TWTY_INT16, 0xFC18), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.Contrast, -1000);
}

TEST_F(ContainerTest, Fix32RealsSplitIntoWholeAndFraction) {
    EXPECT_EQ(Fix32ItemFromReal(11.6), 11u | 39322u << 16);
    EXPECT_EQ(Fix32Whole(Fix32ItemFromReal(-0.5)), -1);
    EXPECT_EQ(Fix32ItemFromReal(-0.5) >> 16, 0x8000u);
    EXPECT_EQ(Fix32Whole(Fix32ItemFromReal(-1000.25)), -1001);
    // The whole part is all that counts: -1000.25 lies below the range.
    EXPECT_EQ(SetOne(ICAP_BRIGHTNESS, TWTY_FIX32, Fix32ItemFromReal(-1000.25)), TWRC_FAILURE);
    EXPECT_EQ(SetOne(ICAP_BRIGHTNESS, TWTY_FIX32, Fix32ItemFromReal(-999.75)), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.Brightness, -1000);
}

// Every kind of answer, with the number of blocks it allocates.
struct AllocationCase {
    TW_UINT16 cap;
    TW_UINT16 msg;
};
const AllocationCase kAnswers[] = {
    {ICAP_PIXELTYPE, MSG_GET},         // one-value
    {ICAP_BRIGHTNESS, MSG_GET},        // range
    {ICAP_XRESOLUTION, MSG_GET},       // enumeration
    {ICAP_SUPPORTEDSIZES, MSG_RESET},  // one-value after a reset
};

TEST_F(ContainerTest, AFailedAllocationIsLowMemoryAndLeavesNothingBehind) {
    for (const AllocationCase& c : kAnswers) {
        plat::host::FailAllocationAt(1);
        TW_CAPABILITY cap{c.cap, TWON_DONTCARE16, nullptr};
        EXPECT_EQ(Call(c.msg, cap), TWRC_FAILURE) << c.cap;
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_LOWMEMORY);
        EXPECT_TRUE(cap.hContainer == nullptr);  // packed: no reference to the field
        EXPECT_EQ(cap.ConType, TWON_DONTCARE16);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    plat::host::FailAllocationAt(0);
}

TEST_F(ContainerTest, AnswersAreUnlockedBlocksTheApplicationOwns) {
    TW_CAPABILITY cap{ICAP_XRESOLUTION, 0, nullptr};
    ASSERT_EQ(Call(MSG_GET, cap), TWRC_SUCCESS);
    EXPECT_EQ(plat::host::LockCount(cap.hContainer), 0);
    EXPECT_EQ(plat::host::LiveBlocks(), 1u);
    plat::MemFree(cap.hContainer);
}

}  // namespace
