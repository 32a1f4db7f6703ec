// The frame shared by sharpen and unsharp mask: one pass over the image in which every
// sample off the border is replaced by a function of itself and its four diagonal
// neighbours, all taken from the image as it was before the pass. Instead of a full image
// copy the pass keeps the original of the row above and of the current row in two row
// buffers; the row below is still original in place.
#pragma once

#include <algorithm>
#include <utility>

#include "engine/bitmap_block.h"
#include "engine/filter_progress.h"
#include "engine/scratch_block.h"

// kernel(out, up, mid, down, begin, end, s) writes out[x] for begin <= x < end; neighbours
// are s bytes apart (the pixel size).
template <class Kernel>
FilterResult RunDiagonalPasses(const BitmapView& view, int passes, const FilterProgress& progress,
                               Kernel kernel) {
    if (view.bitCount == 1 || passes < 1) return FilterResult::Done;
    ScratchBlock rows(size_t(view.rowBytes) * 2);
    if (!rows.ok()) return FilterResult::Unchanged;
    const uint32_t s = view.bitCount / 8u, n = view.rowBytes;
    RowCounter counter{progress, view.rows * uint32_t(passes)};
    for (int pass = 0; pass < passes; ++pass) {
        uint8_t* above = rows.data();
        uint8_t* current = rows.data() + n;
        for (uint32_t r = 0; r < view.rows; ++r) {
            uint8_t* row = view.pixels + size_t(r) * view.stride;
            if (r == 0) {
                std::copy(row, row + n, above);
            } else if (r + 1 < view.rows) {
                std::copy(row, row + n, current);
                if (n > 2 * s) kernel(row, above, current, row + view.stride, s, n - s, s);
                std::swap(above, current);
            }
            if (counter.Next()) return FilterResult::Stopped;
        }
    }
    return FilterResult::Done;
}
