#include "engine/bitmap_block.h"
#include "engine/image_filters.h"
#include "engine/row_flip.h"
#include "engine/scratch_block.h"

FilterResult FlipImage(uint8_t* block, size_t blockBytes, const FilterProgress& progress) {
    BitmapView view;
    if (!ViewBitmapBlock(block, blockBytes, &view)) return FilterResult::Unchanged;
    // 1-bit rows are mirrored through a row copy; byte pixels are swapped in place.
    ScratchBlock copy(view.bitCount == 1 ? view.rowBytes : 0);
    if (view.bitCount == 1 && !copy.ok()) return FilterResult::Unchanged;
    RowCounter counter{progress, view.rows};
    for (uint32_t r = 0; r < view.rows; ++r) {
        uint8_t* row = view.pixels + size_t(r) * view.stride;
        if (view.bitCount == 1)
            FlipBitRow(row, view.width, copy.data());
        else
            FlipPixelRow(row, view.width, view.bitCount / 8);
        if (counter.Next()) return FilterResult::Stopped;
    }
    return FilterResult::Done;
}
