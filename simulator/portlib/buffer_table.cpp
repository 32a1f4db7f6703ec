#include "simulator/portlib/buffer_table.h"

#include <algorithm>
#include <cstring>

namespace {

// Units per entry: a divisor of the area's units, so equal entries cover the whole area (a
// shading buffer is exactly its lines); the largest that keeps an entry within 64 KiB and the
// table within its capacity, or else the smallest that fits the capacity.
uint32_t UnitsPerEntry(uint32_t units, uint32_t unitBytes) {
    const uint32_t preferred = std::max<uint32_t>(1, 65536 / unitBytes);
    uint32_t best = 0, fallback = 0;
    for (uint32_t d = 1; d <= units && d <= 32767; ++d) {
        if (units % d != 0 || units / d > kScanBufferTableEntries) continue;
        if (d <= preferred) best = d;
        else if (fallback == 0) fallback = d;
    }
    if (best != 0) return best;
    if (fallback != 0) return fallback;
    // No divisor fits: equal entries of the largest size, the remainder unused.
    return std::min<uint32_t>(32767, (units + kScanBufferTableEntries - 1) / kScanBufferTableEntries);
}

}  // namespace

uint16_t DivideBuffer(uint8_t* area, uint32_t bytes, ScanBufferEntry* table, uint32_t unitBytes) {
    if (!area || !table || unitBytes == 0 || bytes < unitBytes) return 0;
    const uint32_t units = bytes / unitBytes;
    const uint32_t perEntry = UnitsPerEntry(units, unitBytes);
    const uint32_t count = std::min<uint32_t>(kScanBufferTableEntries, units / perEntry);
    for (uint32_t i = 0; i < count; ++i) {
        ScanBufferEntry& e = table[i];
        std::memset(&e, 0, sizeof e);
        e.size = perEntry * unitBytes;
        e.lines = uint16_t(perEntry);
        e.address = area + size_t(i) * e.size;
    }
    return uint16_t(count);
}

namespace {

bool Span(const ScanBufferEntry& e, BufferSpan& out) {
    if (!e.address || e.size == 0) return false;
    out = {e.address, e.size, e.lines};
    return true;
}

}  // namespace

bool SpansFromTable(const ScanBufferEntry* table, uint32_t count, std::vector<BufferSpan>& out) {
    out.clear();
    if (!table || count == 0 || count > kScanBufferTableEntries) return false;
    for (uint32_t i = 0; i < count; ++i) {
        BufferSpan s;
        if (!Span(table[i], s)) return false;
        out.push_back(s);
    }
    return true;
}

bool SpansForUnits(const ScanBufferEntry* table, uint32_t unitBytes, uint32_t units,
                   std::vector<BufferSpan>& out) {
    out.clear();
    if (!table || unitBytes == 0) return false;
    uint64_t have = 0;
    for (uint32_t i = 0; i < kScanBufferTableEntries && have < units; ++i) {
        BufferSpan s;
        if (!Span(table[i], s)) return false;
        out.push_back(s);
        have = SpanUnits(out.data(), out.size(), unitBytes);
    }
    return have >= units;
}

bool SpansForBytes(const ScanBufferEntry* table, uint32_t bytes, std::vector<BufferSpan>& out) {
    out.clear();
    if (!table) return false;
    uint64_t have = 0;
    for (uint32_t i = 0; i < kScanBufferTableEntries && have < bytes; ++i) {
        BufferSpan s;
        if (!Span(table[i], s)) return false;
        out.push_back(s);
        have += s.bytes;
    }
    return have >= bytes;
}
