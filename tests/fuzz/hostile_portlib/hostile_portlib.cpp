// A port library that lies. Every request first goes to the simulated scanner (so an input
// of zeros scans a real page), then a byte of the fuzz input decides whether the answer is
// kept or changed: another status, reply fields the source reads (inquiry bytes, shading
// and scan geometry, readiness, shading flags), the lines delivered into the source's
// buffers, or BUF_ADDR's entry count and entries. The fuzz target's executable supplies the
// bytes (reply_source.h). The target keeps the library loaded and switches the scanner off
// between inputs (power_switch.h), which also forgets the tables lied about.
#include <dlfcn.h>

#include <cstring>
#include <exception>

#include "common/port_library_api.h"
#include "common/request_blocks.h"
#include "simulator/portlib/buffer_table.h"
#include "simulator/portlib/power_switch.h"
#include "simulator/portlib/request_dispatch.h"
#include "simulator/portlib/simulator_instance.h"
#include "tests/fuzz/hostile_portlib/reply_source.h"

#define KV_EXPORT __attribute__((visibility("default")))

namespace {

class Replies {
public:
    Replies() {
        source_ = reinterpret_cast<HostileReplyBytesProc>(dlsym(RTLD_DEFAULT, kHostileReplyBytesName));
    }
    uint8_t U8() {
        uint8_t b = 0;
        if (source_) source_(&b, 1);
        return b;
    }
    uint16_t U16() { return uint16_t(U8() | U8() << 8); }
    uint32_t U32() { return uint32_t(U16()) | uint32_t(U16()) << 16; }
    void Fill(void* out, size_t n) {
        if (source_) source_(static_cast<uint8_t*>(out), n);
        else std::memset(out, 0, n);
    }

private:
    HostileReplyBytesProc source_ = nullptr;
};

Replies& Input() {
    static Replies replies;
    return replies;
}

constexpr uint16_t kStatuses[] = {0x0000, 0x00FF, 0x8001, 0x8002, 0x8003, 0x8004,
                                  kScanStatusPaperJam, kScanStatusNoPaper, kScanStatusCoverOpen, 0x0001};

void Put16(void* block, size_t offset, uint16_t v) { std::memcpy(static_cast<uint8_t*>(block) + offset, &v, 2); }

// Reply fields the source reads, as (offset, width) of the request's block.
struct Field {
    uint8_t offset, width;
};

void ChangeField(void* block, uint32_t code, Replies& in) {
    static constexpr Field kSetParameters[] = {{20, 1}, {21, 1}, {22, 1}};
    static constexpr Field kGeometry[] = {{8, 2}, {10, 2}};  // start scan, shading info
    static constexpr Field kStatus[] = {{6, 2}};
    const Field* fields = nullptr;
    size_t count = 0;
    switch (code) {
    case ScanRequestInquiry: {  // any byte of the inquiry data
        const size_t offset = kInquiryDataFirst + in.U8() % (sizeof(InquiryBlock) - kInquiryDataFirst);
        static_cast<uint8_t*>(block)[offset] = in.U8();
        return;
    }
    case ScanRequestSetParameters: fields = kSetParameters, count = 3; break;
    case ScanRequestStartScan:
    case ScanRequestShadingInfo: fields = kGeometry, count = 2; break;
    case ScanRequestGetStatus: fields = kStatus, count = 1; break;
    default: return;
    }
    const Field f = fields[in.U8() % count];
    if (f.width == 1) static_cast<uint8_t*>(block)[f.offset] = in.U8();
    else Put16(block, f.offset, in.U16());
}

// Tables whose entries BUF_ADDR moved or resized. The library never reads or writes through
// an entry it lied about: a request that hands such a table back is refused (status 0x8002,
// an impossible field), which is what a library checking its own tables would answer. What
// is tested is how the source takes the lie and the refusal, not the library's own reads.
constexpr size_t kLies = 8;
const void* gLyingTables[kLies] = {};

void ForgetLie(const void* table) {
    for (const void*& t : gLyingTables)
        if (t == table) t = nullptr;
}

void RememberLie(const void* table) {
    for (const void*& t : gLyingTables)
        if (!t) return void(t = table);
    gLyingTables[0] = table;
}

bool HandsBackLie(const void* block, uint32_t code) {
    const void* tables[2] = {};
    if (code == ScanRequestReadData) tables[0] = static_cast<const ReadDataBlock*>(block)->table;
    if (code == ScanRequestReadShading) tables[0] = static_cast<const ReadShadingBlock*>(block)->table;
    if (code == ScanRequestSendShading) {
        tables[0] = static_cast<const SendShadingBlock*>(block)->highTable;
        tables[1] = static_cast<const SendShadingBlock*>(block)->lowTable;
    }
    for (const void* t : gLyingTables)
        if (t && (t == tables[0] || t == tables[1])) return true;
    return false;
}

// Bytes of the lines just delivered: the first entry of the table the source passed.
void ChangeData(void* block, uint32_t code, Replies& in) {
    const ScanBufferEntry* table = nullptr;
    if (code == ScanRequestReadData) table = static_cast<ReadDataBlock*>(block)->table;
    if (code == ScanRequestReadShading) table = static_cast<ReadShadingBlock*>(block)->table;
    if (!table || !table[0].address) return;
    const uint32_t size = table[0].size;
    const uint32_t offset = size ? in.U16() % size : 0;
    const uint32_t bytes = in.U8();
    if (size) in.Fill(table[0].address + offset, bytes < size - offset ? bytes : size - offset);
}

}  // namespace

extern "C" {

KV_EXPORT uint32_t ADDR_CHK() {
    try {
        const uint32_t honest = TheDevice().config.faults.scannerHandle;
        return Input().U8() < 240 ? honest : Input().U32();
    } catch (...) {
        return 0;
    }
}

KV_EXPORT void SPI_CALL(void* block, uint32_t, uint32_t code) {
    if (!block) return;
    Replies& in = Input();
    const uint8_t how = in.U8();
    try {
        // A refusal from a busy or confused scanner: the block is left as it was.
        if (how >= 240) return Put16(block, 2, kStatuses[in.U8() % 10]);
        if (HandsBackLie(block, code)) return Put16(block, 2, 0x8002);
        DispatchRequest(TheDevice(), block, code);
    } catch (...) {
        return Put16(block, 2, 0x8001);
    }
    if (how < 160) return;
    if (how < 190) return Put16(block, 2, in.U8() < 128 ? kStatuses[in.U8() % 10] : in.U16());
    if (how < 220) return ChangeField(block, code, in);
    ChangeData(block, code, in);
}

KV_EXPORT uint16_t BUF_ADDR(void* area, uint32_t bytes, void* table, uint32_t unitBytes) {
    Replies& in = Input();
    uint16_t count = 0;
    try {
        count = DivideBuffer(static_cast<uint8_t*>(area), bytes, static_cast<ScanBufferEntry*>(table), unitBytes);
    } catch (...) {
        return 0;
    }
    ForgetLie(table);
    const uint8_t how = in.U8();
    if (how < 200) return count;
    if (how < 220) return uint16_t(in.U8() % 20);  // a count that is not what was written
    // One entry moved or resized, anywhere the input says (it is only written, never used
    // by this library).
    RememberLie(table);
    auto* entries = static_cast<ScanBufferEntry*>(table);
    ScanBufferEntry& e = entries[in.U8() % kScanBufferTableEntries];
    if (in.U8() & 1) e.size = in.U32() % (bytes + 2 * unitBytes + 1);
    else e.address = reinterpret_cast<uint8_t*>(uintptr_t(area) + in.U32() % (2 * uint64_t(bytes) + 1) - bytes / 2);
    return count;
}

KV_EXPORT void SimPowerOff() {
    PowerOffDevice();
    for (const void*& t : gLyingTables) t = nullptr;
}

}  // extern "C"

[[maybe_unused]] constexpr AddrChkProc kAddrChkType = &ADDR_CHK;
[[maybe_unused]] constexpr SpiCallProc kSpiCallType = &SPI_CALL;
[[maybe_unused]] constexpr BufAddrProc kBufAddrType = &BUF_ADDR;
[[maybe_unused]] constexpr SimPowerOffProc kSimPowerOffType = &SimPowerOff;
