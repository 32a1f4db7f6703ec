#include "imagefile/tiff_layout.h"

#include <cstring>

#include "common/le_fields.h"

namespace {

constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeRational = 5;

constexpr uint32_t kIfdOffset = 8;
constexpr uint16_t kEntryCount = 9;
constexpr uint32_t kEntriesOffset = kIfdOffset + 2;
constexpr uint32_t kEntrySize = 12;
// Gray and line art: XResolution at 124, YResolution at 132. Colour: BitsPerSample values
// at 124, XResolution at 130, YResolution at 138.
constexpr uint32_t kAfterIfd = 124;

constexpr uint16_t kPhotometricBlackIsZero = 1;
constexpr uint16_t kPhotometricRgb = 2;

struct EntryWriter {
    uint8_t* next;
    void Put(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        StoreLe16(next, tag);
        StoreLe16(next + 2, type);
        StoreLe32(next + 4, count);
        // A SHORT value sits in the first two bytes of the value field, the rest stays zero.
        if (type == kTypeShort && count == 1) StoreLe16(next + 8, uint16_t(value));
        else StoreLe32(next + 8, value);
        next += kEntrySize;
    }
};

uint32_t PixelsPerLine(const TiffGeometry& g) {
    switch (g.layout) {
    case PixelLayout::LineArt: return g.lineArtPixels ? g.lineArtPixels : g.bytesPerLine * 8;
    case PixelLayout::Gray: return g.bytesPerLine;
    default: return g.bytesPerLine / BytesPerPixel(g.layout);
    }
}

void PutRational(uint8_t* at, uint32_t numerator) {
    StoreLe32(at, numerator);
    StoreLe32(at + 4, 1);
}

}  // namespace

uint32_t TiffDataOffset(PixelLayout layout) {
    return IsColorLayout(layout) ? kTiffColorDataOffset : kTiffGrayDataOffset;
}

uint64_t TiffStripBytes(const TiffGeometry& g) { return uint64_t(g.lines) * g.bytesPerLine; }

bool TiffGeometryFits(const TiffGeometry& g) {
    if (g.lines == 0 || g.bytesPerLine == 0 || g.resolution == 0) return false;
    if (IsColorLayout(g.layout) && g.bytesPerLine % BytesPerPixel(g.layout) != 0) return false;
    if (g.layout == PixelLayout::LineArt && uint64_t(g.bytesPerLine) * 8 > UINT32_MAX)
        return false;
    if (g.layout == PixelLayout::LineArt && g.lineArtPixels != 0 &&
        (g.lineArtPixels + 7) / 8 != g.bytesPerLine)
        return false;
    return TiffDataOffset(g.layout) + TiffStripBytes(g) <= UINT32_MAX;
}

uint32_t BuildTiffHeader(const TiffGeometry& g, uint8_t (&out)[kTiffHeaderCapacity]) {
    if (!TiffGeometryFits(g)) return 0;
    const bool color = IsColorLayout(g.layout);
    const uint32_t dataOffset = TiffDataOffset(g.layout);
    const uint32_t xResolutionAt = color ? kAfterIfd + 6 : kAfterIfd;
    const uint32_t yResolutionAt = xResolutionAt + 8;

    std::memset(out, 0, sizeof out);
    out[0] = 'I';
    out[1] = 'I';
    StoreLe16(out + 2, 42);
    StoreLe32(out + 4, kIfdOffset);
    StoreLe16(out + kIfdOffset, kEntryCount);

    EntryWriter e{out + kEntriesOffset};
    e.Put(256, kTypeLong, 1, PixelsPerLine(g));
    e.Put(257, kTypeLong, 1, g.lines);
    if (color) e.Put(258, kTypeShort, 3, kAfterIfd);
    else e.Put(258, kTypeShort, 1, g.layout == PixelLayout::LineArt ? 1 : 8);
    e.Put(262, kTypeShort, 1, color ? kPhotometricRgb : kPhotometricBlackIsZero);
    e.Put(273, kTypeLong, 1, dataOffset);
    e.Put(277, kTypeShort, 1, color ? 3 : 1);
    e.Put(279, kTypeLong, 1, uint32_t(TiffStripBytes(g)));
    e.Put(282, kTypeRational, 1, xResolutionAt);
    e.Put(283, kTypeRational, 1, yResolutionAt);
    // The next-IFD offset (0) and the two zero bytes before the values are already clear.

    if (color) {
        const uint16_t bits = g.layout == PixelLayout::Rgb48 ? 16 : 8;
        for (uint32_t i = 0; i < 3; ++i) StoreLe16(out + kAfterIfd + 2 * i, bits);
    }
    PutRational(out + xResolutionAt, g.resolution);
    PutRational(out + yResolutionAt, g.resolution);
    return dataOffset;
}
