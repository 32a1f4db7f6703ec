#include "engine/bitmap_block.h"
#include "engine/byte_division.h"
#include "engine/diagonal_pass.h"
#include "engine/image_filters.h"

namespace {

void SharpenRow(uint8_t* __restrict out, const uint8_t* __restrict up,
                const uint8_t* __restrict mid, const uint8_t* __restrict down, uint32_t begin,
                uint32_t end, uint32_t s) {
    // Pointers to each neighbour's run and a size_t count: 32-bit indices that might wrap
    // keep the compiler from vectorising.
    const uint8_t *ul = up + begin - s, *ur = up + begin + s;
    const uint8_t *dl = down + begin - s, *dr = down + begin + s;
    const uint8_t* p = mid + begin;
    uint8_t* o = out + begin;
    const size_t count = end - begin;
    for (size_t i = 0; i < count; ++i) {
        // Within -1020..1275: 16-bit lanes hold it.
        const int16_t diagonals = int16_t(ul[i] + ur[i] + dl[i] + dr[i]);
        o[i] = ClampByte16(int16_t(5 * p[i] - diagonals));
    }
}

}  // namespace

FilterResult SharpenImage(uint8_t* block, size_t blockBytes, int passes,
                          const FilterProgress& progress) {
    BitmapView view;
    if (!ViewBitmapBlock(block, blockBytes, &view)) return FilterResult::Unchanged;
    return RunDiagonalPasses(view, passes, progress, SharpenRow);
}
