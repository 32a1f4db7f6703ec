#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imagefile/bmp_layout.h"

namespace {

std::vector<uint8_t> Header(const BmpGeometry& g) {
    uint8_t out[kBmpHeaderCapacity];
    const uint32_t size = BuildBmpHeader(g, out);
    return std::vector<uint8_t>(out, out + size);
}

TEST(BmpHeader, ColorFivePixelsByteForByte) {
    ASSERT_EQ(BmpRowBytes(PixelLayout::Rgb24, 5), 16u);
    const std::vector<uint8_t> expected = {
        'B', 'M', 86, 0, 0, 0,  // file size 16 x 2 + 54
        0, 0, 0, 0,             // reserved
        54, 0, 0, 0,            // data offset: no palette
        40, 0, 0, 0,            // info header size
        5, 0, 0, 0,             // width
        2, 0, 0, 0,             // height, positive: bottom-up
        1, 0, 24, 0,            // planes, bit count
        0, 0, 0, 0,             // compression
        0, 0, 0, 0,             // image size
        0, 0, 0, 0, 0, 0, 0, 0, // resolutions
        0, 0, 0, 0,             // colours used
        0, 0, 0, 0,             // colours important
    };
    EXPECT_EQ(Header({PixelLayout::Rgb24, 5, 2, 16}), expected);
}

TEST(BmpHeader, LineArtHasBlackThenWhitePalette) {
    ASSERT_EQ(BmpRowBytes(PixelLayout::LineArt, 33), 8u);
    const std::vector<uint8_t> expected = {
        'B', 'M', 86, 0, 0, 0,  // 8 x 3 + 62
        0, 0, 0, 0,
        62, 0, 0, 0,
        40, 0, 0, 0,
        33, 0, 0, 0,
        3, 0, 0, 0,
        1, 0, 1, 0,
        0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0,
        2, 0, 0, 0,             // colours used
        0, 0, 0, 0,
        0, 0, 0, 0,             // entry 0 black
        255, 255, 255, 0,       // entry 1 white: the line's 1 bits
    };
    EXPECT_EQ(Header({PixelLayout::LineArt, 33, 3, 8}), expected);
}

TEST(BmpHeader, GrayHasTheFullRamp) {
    const std::vector<uint8_t> h = Header({PixelLayout::Gray, 3, 2, 4});
    ASSERT_EQ(h.size(), 1078u);
    const std::vector<uint8_t> fileHeader = {'B', 'M', 0x3E, 0x04, 0, 0,  // 1086
                                             0, 0, 0, 0, 0x36, 0x04, 0, 0};  // 1078
    EXPECT_EQ(std::vector<uint8_t>(h.begin(), h.begin() + 14), fileHeader);
    EXPECT_EQ(h[28], 8);     // bit count
    EXPECT_EQ(h[46], 0);     // colours used 256 = 0x100
    EXPECT_EQ(h[47], 1);
    for (int i = 0; i < 256; ++i) {
        const uint8_t* e = h.data() + 54 + 4 * i;
        ASSERT_TRUE(e[0] == i && e[1] == i && e[2] == i && e[3] == 0) << "entry " << i;
    }
}

TEST(BmpHeader, ThirtySixBitColorIsStoredAsTwentyFourBit) {
    EXPECT_EQ(BmpBitCount(PixelLayout::Rgb48), 24);
    EXPECT_EQ(BmpRowBytes(PixelLayout::Rgb48, 5), 16u);
    EXPECT_EQ(Header({PixelLayout::Rgb48, 5, 2, 16}), Header({PixelLayout::Rgb24, 5, 2, 16}));
}

TEST(BmpHeader, RowBytesRoundBitsUpToWholeWords) {
    EXPECT_EQ(BmpRowBytes(PixelLayout::LineArt, 1), 4u);
    EXPECT_EQ(BmpRowBytes(PixelLayout::LineArt, 32), 4u);
    EXPECT_EQ(BmpRowBytes(PixelLayout::LineArt, 33), 8u);
    EXPECT_EQ(BmpRowBytes(PixelLayout::Gray, 4), 4u);
    EXPECT_EQ(BmpRowBytes(PixelLayout::Gray, 5), 8u);
    EXPECT_EQ(BmpRowBytes(PixelLayout::Rgb24, 4), 12u);
    EXPECT_EQ(BmpRowBytes(PixelLayout::Rgb24, 0x7FFFFFFF), 0u);  // beyond 32 bits
}

TEST(BmpHeader, RefusesGeometryItCannotStateTruthfully) {
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::Gray, 0, 2, 0}));
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::Gray, 4, 0, 4}));
    // An aligned length other than the stored row length skews every reader's rows.
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::Rgb24, 5, 2, 15}));
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::Rgb24, 5, 2, 20}));
    // Height and width are signed fields.
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::LineArt, 0x80000000u, 1, 0x10000000}));
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::Gray, 4, 0x80000000u, 4}));
}

TEST(BmpHeader, FileSizeMustFit32Bits) {
    // 65536 x 65535 + 54 fits; one more line does not.
    EXPECT_TRUE(BmpGeometryFits({PixelLayout::Rgb24, 21845, 65535, 65536}));
    EXPECT_FALSE(BmpGeometryFits({PixelLayout::Rgb24, 21845, 65536, 65536}));
    uint8_t out[kBmpHeaderCapacity];
    out[0] = 0xAB;
    EXPECT_EQ(BuildBmpHeader({PixelLayout::Rgb24, 21845, 65536, 65536}, out), 0u);
    EXPECT_EQ(out[0], 0xAB);
}

}  // namespace
