#include "common/scan_buffers.h"

#include <algorithm>
#include <cstring>

namespace {

// The sizes to try, largest first: whole lines with the standard library, 128 KiB units
// with another.
uint32_t FirstSize(uint32_t wanted, uint32_t bytesPerLine, bool defaultLibrary, uint32_t maxBytes) {
    if (defaultLibrary) {
        const uint32_t most = std::max(maxBytes / bytesPerLine, 1u);
        return std::min(wanted / bytesPerLine, most) * bytesPerLine;
    }
    uint32_t size = std::clamp(wanted, kDriverUnitBytes, maxBytes);
    if (size > kDriverUnitBytes) size = (size + kDriverUnitBytes) & ~(kDriverUnitBytes - 1);
    return std::min(size, maxBytes);
}

uint32_t SmallestSize(uint32_t bytesPerLine, bool defaultLibrary) {
    return defaultLibrary ? bytesPerLine : kDriverUnitBytes;
}

uint32_t Step(uint32_t bytesPerLine, bool defaultLibrary) {
    return defaultLibrary ? bytesPerLine : kDriverUnitBytes;
}

// Every entry must lie inside the block and hold the lines of the first one.
bool TableIsUsable(ScanBuffers& b, uint32_t bytesPerLine) {
    if (b.count == 0 || b.count > kScanBufferTableEntries) return false;
    const uint32_t lines = std::min<uint32_t>(b.table[0].size / bytesPerLine, 32767);
    if (lines == 0) return false;
    const uint32_t bytes = lines * bytesPerLine;
    for (uint16_t i = 0; i < b.count; ++i) {
        const ScanBufferEntry& e = b.table[i];
        if (e.address < b.base || e.size < bytes) return false;
        if (uint64_t(e.address - b.base) + bytes > b.size) return false;
    }
    b.linesPerBuffer = static_cast<uint16_t>(lines);
    b.linesPerRequest = lines * b.count;
    for (uint16_t i = 0; i < b.count; ++i) {
        b.table[i].size = bytes;
        b.table[i].lines = static_cast<uint16_t>(lines);
    }
    return true;
}

}  // namespace

bool AllocScanBuffers(ScanBuffers& b, uint32_t bytesPerLine, uint32_t lines,
                      bool defaultLibrary, BufAddrProc bufAddr, uint32_t maxBytes) {
    b = ScanBuffers{};
    if (bytesPerLine == 0 || lines == 0 || !bufAddr || maxBytes < kDriverUnitBytes) return false;
    const uint64_t wanted64 = uint64_t(bytesPerLine) * lines;
    const uint32_t wanted = static_cast<uint32_t>(std::min<uint64_t>(wanted64, maxBytes));
    const uint32_t smallest = SmallestSize(bytesPerLine, defaultLibrary);
    const uint32_t step = Step(bytesPerLine, defaultLibrary);
    for (uint32_t size = FirstSize(std::max(wanted, smallest), bytesPerLine, defaultLibrary, maxBytes);
         size >= smallest; size -= step) {
        b.block = plat::MemAlloc(size);
        if (b.block) {
            b.size = size;
            break;
        }
        if (size < smallest + step) break;
    }
    if (!b.block) return false;
    b.base = static_cast<uint8_t*>(plat::MemLock(b.block));
    if (b.base) b.count = DivideIntoTable(bufAddr, b.base, b.size, bytesPerLine, b.table);
    if (b.base && TableIsUsable(b, bytesPerLine)) return true;
    FreeScanBuffers(b);
    return false;
}

uint16_t DivideIntoTable(BufAddrProc bufAddr, uint8_t* area, uint32_t bytes, uint32_t unitBytes,
                         ScanBufferTable& table) {
    // A port library that gives more entries than a table of 16 holds would have written
    // past one; here it writes into room to spare and its answer is refused instead.
    constexpr uint16_t kRoom = 16 * kScanBufferTableEntries;
    ScanBufferEntry roomy[kRoom] = {};
    const uint16_t count = bufAddr(area, bytes, roomy, unitBytes);
    if (count == 0 || count > kScanBufferTableEntries) return 0;
    std::memcpy(table, roomy, sizeof(ScanBufferEntry) * count);
    return count;
}

bool TableWithinArray(const ScanBufferTable& table, uint16_t count, const uint8_t* base,
                      uint32_t bytes) {
    if (count == 0 || count > kScanBufferTableEntries) return false;
    for (uint16_t i = 0; i < count; ++i) {
        const ScanBufferEntry& e = table[i];
        if (e.address < base || uint64_t(e.address - base) + e.size > bytes) return false;
    }
    return true;
}

void FreeScanBuffers(ScanBuffers& b) {
    if (b.block) {
        if (b.base) plat::MemUnlock(b.block);
        plat::MemFree(b.block);
    }
    b = ScanBuffers{};
}
