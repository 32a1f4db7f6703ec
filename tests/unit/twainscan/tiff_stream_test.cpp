#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/le_fields.h"
#include "tools/twainscan/tiff_stream.h"

using namespace twainscan;

namespace {

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// One IFD entry as it must appear in the file: tag, type, count, value (little-endian).
void Entry(std::vector<uint8_t>& v, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    const uint8_t e[12] = {uint8_t(tag), uint8_t(tag >> 8), uint8_t(type), 0,
                           uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24),
                           uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    v.insert(v.end(), e, e + 12);
}

}  // namespace

// Written out by hand from the TIFF 6.0 baseline, independent of the writer's own tables.
TEST(TwainscanTiff, TinyRgbImageIsByteExact) {
    const std::string path = TempPath("twainscan_tiny_rgb.tif");
    TiffStream tiff;
    std::string error;
    ASSERT_TRUE(tiff.Begin(path, TiffImage{2, {3, 8, kTiffRgb}, 150 << 16, 150 << 16}, error)) << error;
    const uint8_t pixels[8] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE};  // one row and its padding
    ASSERT_TRUE(tiff.AppendRows(pixels, 1, sizeof pixels, error)) << error;
    ASSERT_TRUE(tiff.Finish(error)) << error;

    std::vector<uint8_t> want = {'I', 'I', 42, 0, 8, 0, 0, 0, 13, 0};
    Entry(want, 256, 4, 1, 2);    // ImageWidth
    Entry(want, 257, 4, 1, 1);    // ImageLength
    Entry(want, 258, 3, 3, 170);  // BitsPerSample, three values at 170
    Entry(want, 259, 3, 1, 1);    // no compression
    Entry(want, 262, 3, 1, 2);    // RGB
    Entry(want, 273, 4, 1, 194);  // StripOffsets
    Entry(want, 277, 3, 1, 3);    // SamplesPerPixel
    Entry(want, 278, 4, 1, 1);    // RowsPerStrip
    Entry(want, 279, 4, 1, 6);    // StripByteCounts
    Entry(want, 282, 5, 1, 178);  // XResolution
    Entry(want, 283, 5, 1, 186);  // YResolution
    Entry(want, 284, 3, 1, 1);    // chunky
    Entry(want, 296, 3, 1, 2);    // inches
    const uint8_t tail[] = {0, 0, 0, 0,  8, 0, 8, 0, 8, 0, 0, 0,  150, 0, 0, 0, 1, 0, 0, 0,
                            150, 0, 0, 0, 1, 0, 0, 0,  1, 2, 3, 4, 5, 6};
    want.insert(want.end(), tail, tail + sizeof tail);
    EXPECT_EQ(ReadAll(path), want);
    std::remove(path.c_str());
}

TEST(TwainscanTiff, LineArtRowsAreBitPackedAndSingleValuesSitInTheEntry) {
    const std::string path = TempPath("twainscan_lineart.tif");
    TiffStream tiff;
    std::string error;
    // 150.5 dpi as TWAIN's fixed point: an exact fraction 301/2.
    ASSERT_TRUE(tiff.Begin(path, TiffImage{10, {1, 1, kTiffBlackIsZero}, 0x968000, 0}, error));
    EXPECT_EQ(tiff.RowBytes(), 2u);
    const uint8_t rows[2][3] = {{0xFF, 0xC0, 0x11}, {0x80, 0x40, 0x22}};
    ASSERT_TRUE(tiff.AppendRows(&rows[0][0], 2, 3, error));
    ASSERT_TRUE(tiff.Finish(error));
    const std::vector<uint8_t> f = ReadAll(path);
    ASSERT_EQ(f.size(), kTiffDataOffset + 4);
    EXPECT_EQ(LoadLe16(&f[10 + 2 * 12 + 8]), 1);  // BitsPerSample 1, in the entry itself
    EXPECT_EQ(LoadLe16(&f[10 + 4 * 12 + 8]), kTiffBlackIsZero);
    EXPECT_EQ(LoadLe32(&f[10 + 8 * 12 + 8]), 4u);  // StripByteCounts
    EXPECT_EQ(LoadLe32(&f[178]), 301u);
    EXPECT_EQ(LoadLe32(&f[182]), 2u);
    EXPECT_EQ(LoadLe32(&f[186]), 72u);  // no resolution given: a value readers accept
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + kTiffDataOffset, f.end()),
              (std::vector<uint8_t>{0xFF, 0xC0, 0x80, 0x40}));
    std::remove(path.c_str());
}

TEST(TwainscanTiff, UnfinishedOrEmptyImageLeavesNoFile) {
    const std::string path = TempPath("twainscan_unfinished.tif");
    std::string error;
    {
        TiffStream tiff;
        ASSERT_TRUE(tiff.Begin(path, TiffImage{4, {1, 8, kTiffBlackIsZero}, 0, 0}, error));
        EXPECT_FALSE(tiff.Finish(error));
        EXPECT_EQ(error, "no rows to write");
    }
    EXPECT_FALSE(std::ifstream(path).good());
    {
        TiffStream tiff;
        ASSERT_TRUE(tiff.Begin(path, TiffImage{4, {1, 8, kTiffBlackIsZero}, 0, 0}, error));
        const uint8_t row[4] = {};
        ASSERT_TRUE(tiff.AppendRows(row, 1, 4, error));
    }  // dropped half-way, as after a failed transfer
    EXPECT_FALSE(std::ifstream(path).good());

    TiffStream unsupported;
    EXPECT_FALSE(unsupported.Begin(path, TiffImage{4, {3, 1, kTiffRgb}, 0, 0}, error));
    EXPECT_FALSE(unsupported.Begin(path, TiffImage{0, {1, 8, kTiffBlackIsZero}, 0, 0}, error));
}
