// The in-place 3 x 3 mean. Each sample depends on its already-blurred left neighbour, so
// the row cannot be computed in parallel as a whole; what can is everything else: the sums
// of the blurred upper row, the original lower row and the sample and its right neighbour
// are formed for the whole row first, and only "add the left result, divide by 9" remains
// in the sequential chain (three independent chains for colour).
#include "engine/bitmap_block.h"
#include "engine/byte_division.h"
#include "engine/image_filters.h"
#include "engine/scratch_block.h"

namespace {

struct BlurRow {
    uint8_t* row;        // in place: the original samples until the chain overwrites them
    const uint8_t* up;   // the blurred row above, or nullptr in the first row
    const uint8_t* down; // the original row below, or nullptr in the last row
    uint32_t n;          // samples in the row
    uint32_t s;          // bytes per pixel: the distance to a horizontal neighbour
};

// One sample's neighbour sum without its left neighbour, any neighbour outside the image
// counted as the sample itself; the left neighbour too when it lies outside.
uint32_t EdgeSum(const BlurRow& b, uint32_t x) {
    const uint32_t p = b.row[x];
    const bool hasLeft = x >= b.s, hasRight = x + b.s < b.n;
    auto trio = [&](const uint8_t* line) -> uint32_t {
        if (!line) return 3 * p;
        return (hasLeft ? line[x - b.s] : p) + line[x] + (hasRight ? line[x + b.s] : p);
    };
    return trio(b.up) + trio(b.down) + p + (hasRight ? b.row[x + b.s] : p) + (hasLeft ? 0 : p);
}

template <bool HasUp, bool HasDown>
void InteriorSums(const BlurRow& b, uint16_t* __restrict sums) {
    // Pointers to each neighbour's run and a size_t count: 32-bit indices that might wrap
    // keep the compiler from vectorising.
    const size_t s = b.s, count = b.n - 2 * s;
    const uint8_t *pc = b.row + s, *pr = b.row + 2 * s;
    const uint8_t *ul = HasUp ? b.up : pc, *uc = HasUp ? b.up + s : pc, *ur = HasUp ? b.up + 2 * s : pc;
    const uint8_t *dl = HasDown ? b.down : pc, *dc = HasDown ? b.down + s : pc,
                  *dr = HasDown ? b.down + 2 * s : pc;
    uint16_t* __restrict out = sums + s;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t c = pc[i];
        const uint32_t upper = HasUp ? uint32_t(ul[i]) + uc[i] + ur[i] : 3 * c;
        const uint32_t lower = HasDown ? uint32_t(dl[i]) + dc[i] + dr[i] : 3 * c;
        out[i] = uint16_t(upper + lower + c + pr[i]);
    }
}

void RowSums(const BlurRow& b, uint16_t* sums) {
    if (b.n > 2 * b.s) {
        if (b.up && b.down) InteriorSums<true, true>(b, sums);
        else if (b.up) InteriorSums<true, false>(b, sums);
        else if (b.down) InteriorSums<false, true>(b, sums);
        else InteriorSums<false, false>(b, sums);
    }
    const uint32_t edge = b.n < b.s ? b.n : b.s;
    for (uint32_t x = 0; x < edge; ++x) sums[x] = uint16_t(EdgeSum(b, x));
    for (uint32_t x = b.n > b.s ? b.n - b.s : b.n; x < b.n; ++x) sums[x] = uint16_t(EdgeSum(b, x));
}

// The sequential part: each result feeds the sample to its right.
void ChainGray(uint8_t* row, const uint16_t* sums, uint32_t n) {
    uint32_t left = DivideBy9(sums[0]);
    row[0] = uint8_t(left);
    for (uint32_t x = 1; x < n; ++x) {
        left = DivideBy9(uint16_t(sums[x] + left));
        row[x] = uint8_t(left);
    }
}

void ChainColour(uint8_t* row, const uint16_t* sums, uint32_t n) {
    uint32_t b = DivideBy9(sums[0]), g = DivideBy9(sums[1]), r = DivideBy9(sums[2]);
    row[0] = uint8_t(b);
    row[1] = uint8_t(g);
    row[2] = uint8_t(r);
    for (uint32_t x = 3; x < n; x += 3) {
        b = DivideBy9(uint16_t(sums[x] + b));
        g = DivideBy9(uint16_t(sums[x + 1] + g));
        r = DivideBy9(uint16_t(sums[x + 2] + r));
        row[x] = uint8_t(b);
        row[x + 1] = uint8_t(g);
        row[x + 2] = uint8_t(r);
    }
}

}  // namespace

FilterResult BlurImage(uint8_t* block, size_t blockBytes, int passes,
                       const FilterProgress& progress) {
    BitmapView view;
    if (!ViewBitmapBlock(block, blockBytes, &view)) return FilterResult::Unchanged;
    if (view.bitCount == 1 || passes < 1) return FilterResult::Done;
    ScratchBlock sums(size_t(view.rowBytes) * sizeof(uint16_t));
    if (!sums.ok()) return FilterResult::Unchanged;
    auto* sum = reinterpret_cast<uint16_t*>(sums.data());

    RowCounter counter{progress, view.rows * uint32_t(passes)};
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t r = 0; r < view.rows; ++r) {
            uint8_t* row = view.pixels + size_t(r) * view.stride;
            const BlurRow b{row, r > 0 ? row - view.stride : nullptr,
                            r + 1 < view.rows ? row + view.stride : nullptr, view.rowBytes,
                            view.bitCount / 8u};
            RowSums(b, sum);
            if (b.s == 1)
                ChainGray(row, sum, b.n);
            else
                ChainColour(row, sum, b.n);
            if (counter.Next()) return FilterResult::Stopped;
        }
    }
    return FilterResult::Done;
}
