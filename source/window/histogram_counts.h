// The enhancement tab's histogram: how many pixels of the scan region take each level, per
// colour and for the mean of the three.
#pragma once

#include <cstdint>

#include "window/original_sample.h"
#include "window/preview_bitmap.h"

struct HistogramCounts {
    uint32_t red[256];
    uint32_t green[256];
    uint32_t blue[256];
    uint32_t mean[256];  // (R + G + B) / 3
};

// Clears the counters and counts every pixel of the part of the 24-bit image (the Original
// image, read where it lies in the prescan image, so no copy is needed). False, with the
// counters cleared, when there is no image or the part is not inside it.
bool CountHistogram(const PreviewBitmap& image, const PrescanRect& part, HistogramCounts& out);
