#include "imagefile/bmp_layout.h"

#include <cstring>

#include "common/le_fields.h"

namespace {

constexpr uint32_t kMaxSigned32 = 0x7FFFFFFF;

void PutFileHeader(const BmpGeometry& g, uint8_t* out) {
    out[0] = 'B';
    out[1] = 'M';
    StoreLe32(out + 2, uint32_t(BmpFileSize(g)));
    // Two reserved 16-bit zeros at 6 and 8.
    StoreLe32(out + 10, BmpDataOffset(g.layout));
}

void PutInfoHeader(const BmpGeometry& g, uint8_t* out) {
    StoreLe32(out, kBmpInfoHeaderSize);
    StoreLe32(out + 4, g.pixelWidth);
    StoreLe32(out + 8, g.lines);  // positive: the rows are stored bottom-up
    StoreLe16(out + 12, 1);
    StoreLe16(out + 14, BmpBitCount(g.layout));
    // Compression, image size and both resolutions stay 0.
    StoreLe32(out + 32, BmpPaletteEntries(g.layout));
    // Colours important: 0.
}

// Blue, green, red, zero: line art is black then white, gray entry i is (i, i, i).
void PutPalette(PixelLayout layout, uint8_t* out) {
    const uint32_t entries = BmpPaletteEntries(layout);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t level = layout == PixelLayout::LineArt ? uint8_t(i * 255) : uint8_t(i);
        out[4 * i] = out[4 * i + 1] = out[4 * i + 2] = level;
    }
}

}  // namespace

uint16_t BmpBitCount(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::LineArt: return 1;
    case PixelLayout::Gray: return 8;
    default: return 24;
    }
}

uint32_t BmpPaletteEntries(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::LineArt: return 2;
    case PixelLayout::Gray: return 256;
    default: return 0;
    }
}

uint32_t BmpDataOffset(PixelLayout layout) {
    return kBmpFileHeaderSize + kBmpInfoHeaderSize + 4 * BmpPaletteEntries(layout);
}

uint32_t BmpRowBytes(PixelLayout layout, uint32_t pixelWidth) {
    const uint64_t bytes = (uint64_t(pixelWidth) * BmpBitCount(layout) + 31) / 32 * 4;
    return bytes > UINT32_MAX ? 0 : uint32_t(bytes);
}

uint64_t BmpFileSize(const BmpGeometry& g) {
    return uint64_t(g.alignedLineLength) * g.lines + BmpDataOffset(g.layout);
}

bool BmpGeometryFits(const BmpGeometry& g) {
    if (g.pixelWidth == 0 || g.lines == 0) return false;
    if (g.pixelWidth > kMaxSigned32 || g.lines > kMaxSigned32) return false;
    if (g.alignedLineLength != BmpRowBytes(g.layout, g.pixelWidth)) return false;
    return BmpFileSize(g) <= UINT32_MAX;
}

uint32_t BuildBmpHeader(const BmpGeometry& g, uint8_t (&out)[kBmpHeaderCapacity]) {
    if (!BmpGeometryFits(g)) return 0;
    const uint32_t size = BmpDataOffset(g.layout);
    std::memset(out, 0, size);
    PutFileHeader(g, out);
    PutInfoHeader(g, out + kBmpFileHeaderSize);
    PutPalette(g.layout, out + kBmpFileHeaderSize + kBmpInfoHeaderSize);
    return size;
}
