#include "window/original_sample.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// An image wider than this is a high-density (60 pixels per inch) prescan.
constexpr uint32_t kLowDensityWidthLimit = 400;
// The inch factors of the preview area are not exact binary fractions: 31 x (11.7 / 351) x 30
// comes out as 30.999999999999996, and truncation would then cut one pixel early. A
// millionth of a pixel keeps such products on the pixel they name.
constexpr double kPixelTolerance = 1e-6;

uint32_t ToPrescan(int32_t v, bool doubled, double inchesPerPixel) {
    const double x = double(std::max(v, 0)) * (doubled ? 2 : 1);
    const double p = std::trunc(x * inchesPerPixel * 30 + kPixelTolerance);
    if (!(p > 0)) return 0;  // also NaN
    return p >= double(UINT32_MAX) ? UINT32_MAX : uint32_t(p);
}

// Start and length along one side, at least one pixel, inside 0..size.
void Span(uint32_t from, uint32_t to, uint32_t size, uint32_t& start, uint32_t& length) {
    start = std::min(from, size - 1);
    const uint32_t wanted = std::max<uint32_t>(to > from ? to - from : 0, 1);
    length = std::min(wanted, size - start);
}

// Source column or row of a destination one when `from` pixels are resampled to `to`.
uint32_t Nearest(uint32_t d, uint32_t from, uint32_t to) {
    return to == 1 ? 0 : uint32_t(uint64_t(from - 1) * d / (to - 1));
}

void Resample(const LockedBitmap& src, uint32_t w, uint32_t h, const LockedBitmap& dst,
              uint32_t bw, uint32_t bh) {
    for (uint32_t y = 0; y < bh; ++y) {
        const uint8_t* from = src.row(Nearest(y, h, bh));
        uint8_t* to = dst.row(y);
        for (uint32_t x = 0; x < bw; ++x) std::memcpy(to + 3 * x, from + 3 * Nearest(x, w, bw), 3);
    }
}

// Hands a bitmap that was filled to out, frees one that could not be.
bool Keep(PreviewBitmap& made, bool filled, PreviewBitmap& out) {
    if (!filled) {
        FreePreviewBitmap(made);
        return false;
    }
    out = made;
    return true;
}

}  // namespace

bool PartInsideImage(const PreviewBitmap& image, const PrescanRect& p) {
    return !image.Empty() && image.bitCount == 24 && p.width > 0 && p.height > 0 &&
           uint64_t(p.left) + p.width <= image.width && uint64_t(p.top) + p.height <= image.height;
}

PrescanRect RegionInPrescanPixels(const PreviewRect& region, uint32_t imageWidth,
                                  uint32_t imageHeight, double inchesPerPixelX,
                                  double inchesPerPixelY) {
    PrescanRect r;
    if (imageWidth == 0 || imageHeight == 0) return r;
    const bool doubled = imageWidth > kLowDensityWidthLimit;
    const uint32_t left = ToPrescan(std::min(region.left, region.right), doubled, inchesPerPixelX);
    const uint32_t right = ToPrescan(std::max(region.left, region.right), doubled, inchesPerPixelX);
    const uint32_t top = ToPrescan(std::min(region.top, region.bottom), doubled, inchesPerPixelY);
    const uint32_t bottom =
        ToPrescan(std::max(region.top, region.bottom), doubled, inchesPerPixelY);
    Span(left, right, imageWidth, r.left, r.width);
    Span(top, bottom, imageHeight, r.top, r.height);
    return r;
}

bool CutOriginal(const PreviewBitmap& image, const PrescanRect& part, PreviewBitmap& out) {
    if (!PartInsideImage(image, part)) return false;
    PreviewBitmap cut;
    if (!AllocatePreviewBitmap(part.width, part.height, 24,
                               PreviewLayoutBytes(24, part.width, part.height), cut))
        return false;
    bool copied = false;
    {
        LockedBitmap src(image), dst(cut);
        // Both are stored bottom-up: the part's bottom row is stored first.
        const uint32_t firstStored = image.height - (part.top + part.height);
        for (uint32_t j = 0; src.ok() && dst.ok() && j < part.height; ++j)
            std::memcpy(dst.row(j), src.row(firstStored + j) + size_t(part.left) * 3,
                        size_t(part.width) * 3);
        copied = src.ok() && dst.ok();
    }
    return Keep(cut, copied, out);
}

bool FitSample(const PreviewBitmap& original, int32_t boxWidth, int32_t boxHeight,
               PreviewBitmap& out) {
    if (original.Empty() || original.bitCount != 24 || boxWidth <= 0 || boxHeight <= 0)
        return false;
    const uint32_t bw = uint32_t(boxWidth), bh = uint32_t(boxHeight);
    if (bw > original.width && bh > original.height)
        return DuplicatePreviewBitmap(original, out);
    PreviewBitmap fitted;
    if (!AllocatePreviewBitmap(bw, bh, 24, PreviewLayoutBytes(24, bw, bh), fitted)) return false;
    bool copied = false;
    {
        LockedBitmap src(original), dst(fitted);
        copied = src.ok() && dst.ok();
        if (copied) Resample(src, original.width, original.height, dst, bw, bh);
    }
    return Keep(fitted, copied, out);
}

bool MakeSampleImages(const PreviewBitmap& image, const PrescanRect& part, int32_t boxWidth,
                      int32_t boxHeight, SampleImages& sample) {
    PreviewBitmap original, fitted, working;
    const bool made = CutOriginal(image, part, original) &&
                      FitSample(original, boxWidth, boxHeight, fitted) &&
                      MakePreviewWorkingCopy(fitted, working);
    FreePreviewBitmap(original);
    if (!made) {
        FreePreviewBitmap(fitted);
        return false;
    }
    ReplacePreviewBitmap(sample.sample, fitted);
    ReplacePreviewBitmap(sample.working, working);
    sample.render.newImage = true;
    return true;
}

void FreeSampleImages(SampleImages& sample) {
    FreePreviewBitmap(sample.sample);
    FreePreviewBitmap(sample.working);
    sample.render.rendered = false;
}

FitSize FitRegionInBox(int32_t regionWidth, int32_t regionHeight, int32_t boxWidth,
                       int32_t boxHeight) {
    if (boxWidth <= 0 || boxHeight <= 0) return {};
    const int64_t rw = std::max(regionWidth, 1), rh = std::max(regionHeight, 1);
    const int64_t height = boxWidth * rh / rw;
    if (height <= boxHeight) return {boxWidth, int32_t(height)};
    return {int32_t(boxHeight * rw / rh), boxHeight};
}
