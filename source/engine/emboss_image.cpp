#include <cstring>

#include "engine/bitmap_block.h"
#include "engine/byte_division.h"
#include "engine/image_filters.h"

namespace {

// q lies two rows further down, which this pass has not reached yet, so working in place
// reads only original values.
void EmbossRow(uint8_t* __restrict row, const uint8_t* __restrict below2, size_t count,
               uint32_t shift) {
    const uint8_t* q = below2 + shift;
    for (size_t x = 0; x < count; ++x) row[x] = ClampByte16(int16_t(row[x] - q[x] + 128));
}

}  // namespace

FilterResult EmbossImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress) {
    BitmapView view;
    if (!ViewBitmapBlock(block, blockBytes, &view)) return FilterResult::Unchanged;
    if (view.bitCount == 1) return FilterResult::Done;
    const uint32_t n = view.rowBytes;
    const uint32_t shift = 2 * (view.bitCount / 8u);  // two pixels to the right
    const uint32_t compared = n > shift ? n - shift : 0;
    RowCounter counter{progress, view.rows};
    for (uint32_t r = 0; r < view.rows; ++r) {
        uint8_t* row = view.pixels + size_t(r) * view.stride;
        // Samples without a q two rows down and two pixels right compare with themselves.
        if (r + 2 < view.rows) {
            EmbossRow(row, row + 2 * size_t(view.stride), compared, shift);
            std::memset(row + compared, 128, n - compared);
        } else {
            std::memset(row, 128, n);
        }
        if (counter.Next()) return FilterResult::Stopped;
    }
    return FilterResult::Done;
}
