#include <algorithm>

#include "engine/bitmap_block.h"
#include "engine/byte_division.h"
#include "engine/diagonal_pass.h"
#include "engine/image_filters.h"

namespace {

// (p x 179 / 10 - diagonals) / 9 with both divisions truncating towards zero. A negative
// difference ends at 0 after clamping whichever way it is divided, so only non-negative
// differences are divided; p x 179 / 10 is 17p + 9p / 10 exactly.
void UnsharpRow(uint8_t* __restrict out, const uint8_t* __restrict up,
                const uint8_t* __restrict mid, const uint8_t* __restrict down, uint32_t begin,
                uint32_t end, uint32_t s) {
    const uint8_t *ul = up + begin - s, *ur = up + begin + s;
    const uint8_t *dl = down + begin - s, *dr = down + begin + s;
    const uint8_t* c = mid + begin;
    uint8_t* o = out + begin;
    const size_t count = end - begin;
    for (size_t i = 0; i < count; ++i) {
        const uint16_t p = c[i];
        // Within -1020..4564: 16-bit lanes hold every step.
        const int16_t scaled = int16_t(17 * p + DivideBy10(uint16_t(9 * p)));
        const int16_t v = int16_t(scaled - int16_t(ul[i] + ur[i] + dl[i] + dr[i]));
        const uint16_t q = DivideBy9(uint16_t(std::max<int16_t>(v, 0)));
        o[i] = uint8_t(q > 255 ? 255 : q);
    }
}

}  // namespace

FilterResult UnsharpImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress) {
    BitmapView view;
    if (!ViewBitmapBlock(block, blockBytes, &view)) return FilterResult::Unchanged;
    return RunDiagonalPasses(view, 1, progress, UnsharpRow);
}
