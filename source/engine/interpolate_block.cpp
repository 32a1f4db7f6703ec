#include "engine/interpolate_block.h"

#include <cstring>

#include "engine/bit_doubling.h"
#include "engine/interpolate_cells.h"

namespace {

constexpr uint64_t kLargestBlock = uint64_t(1) << 30;

uint32_t PixelsOf(const InterpolationState& s) {
    return s.kind == SampleKind::Colour ? s.lineBytes / 3 : s.lineBytes;
}

// Bytes of an output row that belong to pixels: a colour line's bytes after its last whole
// pixel give zeros.
uint32_t PixelBytesOut(const InterpolationState& s) {
    return s.factor * PixelsOf(s) * SampleStep(s.kind);
}

void SpreadLineArtRow(const InterpolationState& s, const uint8_t* line, uint8_t* out) {
    const uint32_t f = s.factor;
    for (uint32_t i = 0; i < s.lineBytes; ++i) std::memcpy(out + i * f, s.bitTable + line[i] * f, f);
}

// The F rows of one source row p paired with the row d below it.
void InterpolateRow(const InterpolationState& s, const uint8_t* p, const uint8_t* d,
                    uint8_t* const* rows) {
    const uint32_t n = PixelsOf(s);
    if (s.kind == SampleKind::LineArt) {
        SpreadLineArtRow(s, p, rows[0]);
        for (uint32_t r = 1; r < s.factor; ++r) std::memcpy(rows[r], rows[0], s.outLineBytes);
        return;
    }
    if (s.factor == 2 && s.kind == SampleKind::Gray) {
        InterpolateGrayPair2(p, d, n, rows[0], rows[1]);
    } else if (s.factor == 2) {
        InterpolateColourPair2(p, d, n, rows[0], rows[1]);
    } else {
        InterpolatePairSplit(p, d, n, SampleStep(s.kind), s.factor, rows);
    }
    const uint32_t pixelBytes = PixelBytesOut(s);
    for (uint32_t r = 0; r < s.factor; ++r)
        std::memset(rows[r] + pixelBytes, 0, s.outLineBytes - pixelBytes);
}

}  // namespace

void EndInterpolation(InterpolationState& state) {
    if (state.block) {
        plat::MemUnlock(state.block);
        plat::MemFree(state.block);
    }
    state = InterpolationState{};
}

bool BeginInterpolation(SampleKind kind, uint32_t lineBytes, uint32_t factor,
                        InterpolationState* state) {
    EndInterpolation(*state);
    if (lineBytes == 0 || (kind == SampleKind::Colour && lineBytes < 3)) return false;
    if (factor != 2 && factor != 4 && factor != 6 && factor != 8) return false;
    InterpolationState s;
    s.kind = kind;
    s.lineBytes = lineBytes;
    s.factor = factor;
    const uint64_t outLine = uint64_t(lineBytes) * s.factor;
    const uint64_t table = kind == SampleKind::LineArt ? 256u * s.factor : 0;
    const uint64_t total = lineBytes + outLine * s.factor + table;
    if (outLine > UINT32_MAX || total > kLargestBlock) return false;
    s.outLineBytes = uint32_t(outLine);
    s.block = plat::MemAlloc(size_t(total));
    uint8_t* base = s.block ? static_cast<uint8_t*>(plat::MemLock(s.block)) : nullptr;
    if (!base) {
        if (s.block) plat::MemFree(s.block);
        return false;
    }
    s.kept = base;
    s.scratch = base + lineBytes;
    s.bitTable = s.scratch + outLine * s.factor;
    if (kind == SampleKind::LineArt)
        for (uint32_t v = 0; v < 256; ++v) SpreadBits(uint8_t(v), s.factor, s.bitTable + v * s.factor);
    *state = s;
    return true;
}

bool InterpolateBlock(InterpolationState& state, const uint8_t* lines, uint32_t count,
                      uint8_t* rows, uint32_t rowBytes) {
    if (!state.block || !lines || !rows || count == 0 || rowBytes == 0) return false;
    const uint32_t f = state.factor;
    const bool direct = rowBytes >= state.outLineBytes;
    if (!state.hasKept) {
        std::memcpy(state.kept, lines, state.lineBytes);
        state.hasKept = true;
    }
    uint8_t* out[8];
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* d = lines + uint64_t(i) * state.lineBytes;
        const uint8_t* p = i == 0 ? state.kept : d - state.lineBytes;
        uint8_t* first = rows + uint64_t(i) * f * rowBytes;
        for (uint32_t r = 0; r < f; ++r)
            out[r] = direct ? first + uint64_t(r) * rowBytes : state.scratch + uint64_t(r) * state.outLineBytes;
        // Line art replicates each row as it is; the others pair it with the row below.
        if (state.kind == SampleKind::LineArt) p = d;
        InterpolateRow(state, p, d, out);
        for (uint32_t r = 0; r < f; ++r) {
            uint8_t* row = first + uint64_t(r) * rowBytes;
            if (direct)
                std::memset(row + state.outLineBytes, 0, rowBytes - state.outLineBytes);
            else
                std::memcpy(row, out[r], rowBytes);
        }
    }
    std::memcpy(state.kept, lines + uint64_t(count - 1) * state.lineBytes, state.lineBytes);
    return true;
}
