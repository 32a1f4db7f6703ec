#include "engine/descreen_reduction.h"

#include <cstring>

#include "engine/byte_division.h"

DescreenDropMaps TheDescreenDropMaps;

namespace {

constexpr uint32_t kBaseResolution = 300;
// Nothing the scanner delivers comes near this; it keeps every size below in 32 bits.
constexpr uint64_t kLargestBlock = uint64_t(1) << 30;

// The keep/drop accumulator: starting at 300, a unit is dropped while adding the effective
// resolution stays below 300, and kept (giving 300 back) otherwise. Fills one entry per
// unit, each unit being `width` entries wide, and returns the number of units kept.
uint32_t FillKeepMap(uint8_t* map, uint32_t units, uint32_t width, uint32_t resolution) {
    int64_t a = kBaseResolution;
    uint32_t kept = 0;
    for (uint32_t u = 0; u < units; ++u) {
        uint8_t keep = 0;
        if (a + resolution < kBaseResolution) {
            a += resolution;
        } else {
            a += int64_t(resolution) - kBaseResolution;
            keep = 1;
            ++kept;
        }
        std::memset(map + uint64_t(u) * width, keep, width);
    }
    return kept;
}

uint64_t RoundUp(uint64_t v, uint64_t to) { return (v + to - 1) / to * to; }

uint32_t UsedBytes(const DescreenDropMaps& m) { return m.lineBytes - m.lineBytes % m.sampleBytes; }
uint32_t PaddedBytes(const DescreenDropMaps& m) { return UsedBytes(m) + 2 * m.sampleBytes; }

// Carves the block into the maps, the kept offsets, three padded rows and the sums row.
bool AllocateMaps(DescreenDropMaps& m) {
    const uint64_t padded = uint64_t(m.lineBytes) + 2 * m.sampleBytes;
    const uint64_t offsetsAt = RoundUp(uint64_t(m.lineBytes) + m.lines, 4);
    const uint64_t rowsAt = offsetsAt + 4 * uint64_t(m.lineBytes);
    const uint64_t sumsAt = RoundUp(rowsAt + 3 * padded, 2);
    const uint64_t total = sumsAt + 2 * padded;
    if (total > kLargestBlock) return false;
    m.block = plat::MemAlloc(size_t(total));
    uint8_t* base = m.block ? static_cast<uint8_t*>(plat::MemLock(m.block)) : nullptr;
    if (!base) {
        if (m.block) plat::MemFree(m.block);
        m.block = nullptr;
        return false;
    }
    m.columns = base;
    m.rows = base + m.lineBytes;
    m.keptOffsets = reinterpret_cast<uint32_t*>(base + offsetsAt);
    m.above = base + rowsAt;
    m.current = m.above + padded;
    m.below = m.current + padded;
    m.sums = reinterpret_cast<uint16_t*>(base + sumsAt);
    return true;
}

// A scanner line into a padded history row: one replicated sample before and after it.
void LoadRow(const DescreenDropMaps& m, uint8_t* padded, const uint8_t* line) {
    const uint32_t s = m.sampleBytes, used = UsedBytes(m);
    std::memcpy(padded + s, line, used);
    std::memcpy(padded, line, s);
    std::memcpy(padded + s + used, line + used - s, s);
}

void Rotate(DescreenDropMaps& m) {
    uint8_t* oldAbove = m.above;
    m.above = m.current;
    m.current = m.below;
    m.below = oldAbove;
}

// The kept samples of the current row: the vertical sums of three rows over the whole
// padded row (a loop the compiler vectorises), then each kept sample from three sums.
void EmitRow(const DescreenDropMaps& m, uint8_t* out) {
    const uint32_t padded = PaddedBytes(m), s = m.sampleBytes;
    const uint8_t* up = m.above;
    const uint8_t* mid = m.current;
    const uint8_t* down = m.below;
    uint16_t* sums = m.sums;
    for (uint32_t x = 0; x < padded; ++x) sums[x] = uint16_t(up[x] + mid[x] + down[x]);
    for (uint32_t k = 0; k < m.keptBytes; ++k) {
        const uint32_t o = m.keptOffsets[k];
        out[k] = uint8_t(DivideBy9(uint16_t(sums[o] + sums[o + s] + sums[o + 2 * s])));
    }
}

// Output rows written when `rows` rows beginning at firstLine are reduced: the bound the
// band's buffer must hold.
uint32_t FinishedRows(const DescreenDropMaps& m, uint32_t rows, uint32_t firstLine) {
    uint32_t finished = firstLine == 0 ? rows - 1 : rows;
    if (firstLine + rows == m.lines) ++finished;
    return finished;
}

}  // namespace

void FreeDescreenDropMaps(DescreenDropMaps& maps) {
    if (maps.block) {
        plat::MemUnlock(maps.block);
        plat::MemFree(maps.block);
    }
    maps = DescreenDropMaps{};
}

bool BuildDescreenDropMaps(uint32_t lineBytes, uint32_t lines, uint32_t sampleBytes,
                           uint32_t effectiveResolution, DescreenDropMaps* maps) {
    FreeDescreenDropMaps(*maps);
    if (effectiveResolution == 0 || effectiveResolution >= kBaseResolution) return false;
    if ((sampleBytes != 1 && sampleBytes != 3) || lineBytes < sampleBytes || lines == 0)
        return false;
    DescreenDropMaps m;
    m.lineBytes = lineBytes;
    m.lines = lines;
    m.sampleBytes = sampleBytes;
    if (!AllocateMaps(m)) return false;
    const uint32_t pixels = lineBytes / sampleBytes;
    m.keptBytes = FillKeepMap(m.columns, pixels, sampleBytes, effectiveResolution) * sampleBytes;
    std::memset(m.columns + pixels * sampleBytes, 0, lineBytes - pixels * sampleBytes);
    m.keptLines = FillKeepMap(m.rows, lines, 1, effectiveResolution);
    uint32_t k = 0;
    for (uint32_t c = 0; c < lineBytes; ++c)
        if (m.columns[c]) m.keptOffsets[k++] = c;
    *maps = m;
    return true;
}

ReducedRows ReduceBand(DescreenDropMaps& maps, uint8_t* band, uint32_t rows,
                       uint32_t capacityRows, uint32_t firstLine) {
    ReducedRows result;
    if (!maps.block || !band || rows == 0) return result;
    if (firstLine != 0 && firstLine != maps.nextLine) return result;
    if (uint64_t(firstLine) + rows > maps.lines) return result;
    const uint64_t written = uint64_t(FinishedRows(maps, rows, firstLine)) * maps.keptBytes;
    if (capacityRows < rows || written > uint64_t(capacityRows) * maps.lineBytes) return result;

    uint32_t next = 0;  // band row to load next
    if (firstLine == 0) {
        // The first row is its own upper neighbour.
        LoadRow(maps, maps.current, band);
        std::memcpy(maps.above, maps.current, PaddedBytes(maps));
        next = 1;
    }
    result.firstLine = firstLine == 0 ? 0 : firstLine - 1;
    uint32_t line = result.firstLine;
    auto finish = [&] {
        // Rows are written no faster than they are read: the row at out ends before the
        // first band row not yet loaded into the history.
        if (maps.rows[line]) EmitRow(maps, band + uint64_t(result.kept++) * maps.keptBytes);
        ++line;
        ++result.finished;
    };
    for (; next < rows; ++next) {
        LoadRow(maps, maps.below, band + uint64_t(next) * maps.lineBytes);
        finish();
        Rotate(maps);
    }
    if (firstLine + rows == maps.lines) {
        // The image's last line is its own lower neighbour.
        std::memcpy(maps.below, maps.current, PaddedBytes(maps));
        finish();
    }
    maps.nextLine = firstLine + rows;
    result.ok = true;
    return result;
}
