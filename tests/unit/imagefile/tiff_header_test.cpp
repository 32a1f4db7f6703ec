#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imagefile/tiff_layout.h"

namespace {

std::vector<uint8_t> Header(const TiffGeometry& g) {
    uint8_t out[kTiffHeaderCapacity];
    const uint32_t size = BuildTiffHeader(g, out);
    return std::vector<uint8_t>(out, out + size);
}

uint32_t Le32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

// Value field of IFD entry i (entries start at 10, 12 bytes each, value at +8).
uint32_t EntryValue(const std::vector<uint8_t>& b, int i) { return Le32At(b, 10 + 12 * i + 8); }

TEST(TiffHeader, GrayHundredByThreeByteForByte) {
    const std::vector<uint8_t> expected = {
        'I', 'I', 42, 0, 8, 0, 0, 0,                      // byte order, magic, IFD at 8
        9, 0,                                             // nine entries
        0x00, 0x01, 4, 0, 1, 0, 0, 0, 100, 0, 0, 0,       // ImageWidth LONG 100
        0x01, 0x01, 4, 0, 1, 0, 0, 0, 3, 0, 0, 0,         // ImageLength LONG 3
        0x02, 0x01, 3, 0, 1, 0, 0, 0, 8, 0, 0, 0,         // BitsPerSample SHORT 8
        0x06, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0,         // Photometric SHORT BlackIsZero
        0x11, 0x01, 4, 0, 1, 0, 0, 0, 140, 0, 0, 0,       // StripOffsets LONG 140
        0x15, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0,         // SamplesPerPixel SHORT 1
        0x17, 0x01, 4, 0, 1, 0, 0, 0, 0x2C, 0x01, 0, 0,   // StripByteCounts LONG 300
        0x1A, 0x01, 5, 0, 1, 0, 0, 0, 124, 0, 0, 0,       // XResolution RATIONAL at 124
        0x1B, 0x01, 5, 0, 1, 0, 0, 0, 132, 0, 0, 0,       // YResolution RATIONAL at 132
        0, 0, 0, 0,                                       // no next IFD
        0, 0,                                             // padding
        0x58, 0x02, 0, 0, 1, 0, 0, 0,                     // 600 / 1
        0x58, 0x02, 0, 0, 1, 0, 0, 0,                     // 600 / 1
    };
    EXPECT_EQ(Header({PixelLayout::Gray, 100, 3, 600}), expected);
}

TEST(TiffHeader, Color24ByteForByte) {
    const std::vector<uint8_t> expected = {
        'I', 'I', 42, 0, 8, 0, 0, 0,
        9, 0,
        0x00, 0x01, 4, 0, 1, 0, 0, 0, 4, 0, 0, 0,         // ImageWidth: 12 bytes / 3
        0x01, 0x01, 4, 0, 1, 0, 0, 0, 2, 0, 0, 0,         // ImageLength 2
        0x02, 0x01, 3, 0, 3, 0, 0, 0, 124, 0, 0, 0,       // BitsPerSample SHORT x3 at 124
        0x06, 0x01, 3, 0, 1, 0, 0, 0, 2, 0, 0, 0,         // Photometric RGB
        0x11, 0x01, 4, 0, 1, 0, 0, 0, 146, 0, 0, 0,       // StripOffsets 146
        0x15, 0x01, 3, 0, 1, 0, 0, 0, 3, 0, 0, 0,         // SamplesPerPixel 3
        0x17, 0x01, 4, 0, 1, 0, 0, 0, 24, 0, 0, 0,        // StripByteCounts 24
        0x1A, 0x01, 5, 0, 1, 0, 0, 0, 130, 0, 0, 0,       // XResolution at 130
        0x1B, 0x01, 5, 0, 1, 0, 0, 0, 138, 0, 0, 0,       // YResolution at 138
        0, 0, 0, 0,
        0, 0,
        8, 0, 8, 0, 8, 0,                                 // bits per sample
        0x2C, 0x01, 0, 0, 1, 0, 0, 0,                     // 300 / 1
        0x2C, 0x01, 0, 0, 1, 0, 0, 0,
    };
    EXPECT_EQ(Header({PixelLayout::Rgb24, 12, 2, 300}), expected);
}

TEST(TiffHeader, Color36BitStatesSixteenBitSamplesAndSixBytesPerPixel) {
    const std::vector<uint8_t> h = Header({PixelLayout::Rgb48, 60, 7, 1200});
    ASSERT_EQ(h.size(), 146u);
    EXPECT_EQ(EntryValue(h, 0), 10u);   // 60 bytes / 6
    EXPECT_EQ(EntryValue(h, 6), 420u);  // 7 x 60
    EXPECT_EQ(std::vector<uint8_t>(h.begin() + 124, h.begin() + 130),
              (std::vector<uint8_t>{16, 0, 16, 0, 16, 0}));
    EXPECT_EQ(Le32At(h, 130), 1200u);
    EXPECT_EQ(Le32At(h, 138), 1200u);
}

TEST(TiffHeader, LineArtWidthIsEightPixelsPerByte) {
    const std::vector<uint8_t> h = Header({PixelLayout::LineArt, 100, 10, 400});
    ASSERT_EQ(h.size(), 140u);
    EXPECT_EQ(EntryValue(h, 0), 800u);
    EXPECT_EQ(EntryValue(h, 2), 1u);  // BitsPerSample
    EXPECT_EQ(EntryValue(h, 3), 1u);  // BlackIsZero: the line's 1 bits are white
    EXPECT_EQ(EntryValue(h, 6), 1000u);
}

TEST(TiffHeader, RefusesGeometryItCannotStateTruthfully) {
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Gray, 100, 0, 300}));
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Gray, 0, 10, 300}));
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Gray, 100, 10, 0}));
    // Colour lines of partial pixels would make ImageWidth disagree with the strip.
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Rgb24, 100, 10, 300}));
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Rgb48, 99, 10, 300}));
    EXPECT_TRUE(TiffGeometryFits({PixelLayout::Rgb48, 96, 10, 300}));
    // Line-art width of 2^32 pixels.
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::LineArt, 0x20000000, 1, 300}));
    EXPECT_TRUE(TiffGeometryFits({PixelLayout::LineArt, 0x1FFFFFFF, 1, 300}));
}

TEST(TiffHeader, WholeFileMustBeAddressableWith32BitOffsets) {
    // 140 + 5 x 858993431 is exactly 2^32 - 1.
    EXPECT_TRUE(TiffGeometryFits({PixelLayout::Gray, 5, 858993431, 300}));
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Gray, 5, 858993432, 300}));
    // A strip of 2^32 bytes: its count field would wrap to 0.
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Gray, 65536, 65536, 300}));
    // Colour data start 6 bytes later, so the same strip that fits gray does not fit colour.
    EXPECT_FALSE(TiffGeometryFits({PixelLayout::Rgb24, 3, 1431655717, 300}));
    EXPECT_TRUE(TiffGeometryFits({PixelLayout::Rgb24, 3, 1431655716, 300}));

    uint8_t out[kTiffHeaderCapacity];
    out[0] = 0xAB;
    EXPECT_EQ(BuildTiffHeader({PixelLayout::Gray, 65536, 65536, 300}, out), 0u);
    EXPECT_EQ(out[0], 0xAB);
}

}  // namespace
