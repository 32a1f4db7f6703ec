#include "engine/bitmap_block.h"
#include "engine/image_filters.h"

namespace {

// Bounds passed by value: byte stores may alias anything reachable, and a bound read
// through memory on every step keeps the loop from being vectorised.
void InvertBytes(uint8_t* p, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) p[i] = uint8_t(~p[i]);
}

}  // namespace

FilterResult InvertImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress) {
    BitmapView view;
    if (!ViewBitmapBlock(block, blockBytes, &view)) return FilterResult::Unchanged;
    RowCounter counter{progress, view.rows};
    for (uint32_t r = 0; r < view.rows; ++r) {
        InvertBytes(view.pixels + size_t(r) * view.stride, view.stride);
        if (counter.Next()) return FilterResult::Stopped;
    }
    return FilterResult::Done;
}
