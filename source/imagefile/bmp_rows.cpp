#include "imagefile/bmp_rows.h"

#include <cstring>

#include "common/red_blue_swap.h"

namespace {

// Little-endian 16-bit samples: the high byte is the second of each pair.
void ReverseRgb48ToTop8(uint32_t pixels, const uint8_t* src, uint8_t* dst) {
    for (uint32_t i = 0; i < pixels; ++i, src += 6, dst += 3) {
        dst[0] = src[5];
        dst[1] = src[3];
        dst[2] = src[1];
    }
}

}  // namespace

uint64_t LineBytesForPixels(PixelLayout layout, uint32_t pixelWidth) {
    if (layout == PixelLayout::LineArt) return (uint64_t(pixelWidth) + 7) / 8;
    return uint64_t(pixelWidth) * BytesPerPixel(layout);
}

void ConvertLineToBmpRow(PixelLayout layout, uint32_t pixelWidth, const uint8_t* src,
                         uint8_t* dst, uint32_t alignedLineLength) {
    uint32_t stored = 0;
    switch (layout) {
    case PixelLayout::LineArt:
    case PixelLayout::Gray:
        stored = uint32_t(LineBytesForPixels(layout, pixelWidth));
        std::memcpy(dst, src, stored);
        break;
    case PixelLayout::Rgb24:
        SwapRedBlue(src, dst, pixelWidth);
        stored = pixelWidth * 3;
        break;
    case PixelLayout::Rgb48:
        ReverseRgb48ToTop8(pixelWidth, src, dst);
        stored = pixelWidth * 3;
        break;
    }
    std::memset(dst + stored, 0, alignedLineLength - stored);
}
