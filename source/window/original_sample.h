// The enhancement tabs' small pictures: the Original image (the scan region cut out of the
// prescan image), the Sample image (the Original fitted to the Sample box), and the fit of a
// region's aspect into a box that drawing both boxes uses.
#pragma once

#include <cstdint>

#include "window/image_size.h"
#include "window/preview_bitmap.h"
#include "window/preview_render.h"

// A part of the prescan image in its pixels, counted from the top-left as the preview shows
// it; always inside the image and at least 1 x 1 when the image is not empty.
struct PrescanRect {
    uint32_t left = 0, top = 0, width = 0, height = 0;
};

// Whether the part lies inside the 24-bit image, with at least one pixel.
bool PartInsideImage(const PreviewBitmap& image, const PrescanRect& part);

// The region (preview pixels from the area's top-left) in prescan pixels: each coordinate
// doubled when the image is wider than 400 pixels (a high-density prescan), then
// trunc(x x inchesPerPixelX x 30), likewise y. A zero width or height becomes 1; the result
// is clamped to the image.
PrescanRect RegionInPrescanPixels(const PreviewRect& region, uint32_t imageWidth,
                                  uint32_t imageHeight, double inchesPerPixelX,
                                  double inchesPerPixelY);

// The part's pixels copied into a new 24-bit bitmap of the part's size. False without memory
// (message 604) or for a part outside the image; out is only set on success.
bool CutOriginal(const PreviewBitmap& image, const PrescanRect& part, PreviewBitmap& out);

// The Original copied when the box is larger in both directions, otherwise resampled to
// exactly bw x bh by nearest neighbour: destination (x, y) takes source
// ((w - 1) x x / (bw - 1), (h - 1) x y / (bh - 1)), a box side of 1 taking column or row 0.
// False without memory or for an empty box; out is only set on success.
bool FitSample(const PreviewBitmap& original, int32_t boxWidth, int32_t boxHeight,
               PreviewBitmap& out);

// The Sample box's pictures: the Sample image and the working copy painted from it.
struct SampleImages {
    PreviewBitmap sample;
    PreviewBitmap working;
    PreviewRenderState render;
};
// The Original of the part, fitted to the box, and a working copy: both replace the previous
// ones, which are freed, and the next paint renders. False without memory (message 604);
// the previous images stay.
bool MakeSampleImages(const PreviewBitmap& image, const PrescanRect& part, int32_t boxWidth,
                      int32_t boxHeight, SampleImages& sample);
void FreeSampleImages(SampleImages& sample);

// The region's aspect in the box: the box's full width and height = box width x region height
// / region width, or, when that is taller than the box, the full height and width = box
// height x region width / region height. An empty side of the region counts as 1.
struct FitSize {
    int32_t width = 0, height = 0;
};
FitSize FitRegionInBox(int32_t regionWidth, int32_t regionHeight, int32_t boxWidth,
                       int32_t boxHeight);
