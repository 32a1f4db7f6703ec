#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/le_fields.h"
#include "tools/twainscan/dib_file.h"

using namespace twainscan;

namespace {

// A DIB header with the given fields and room for everything it announces.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, uint32_t colours = 0,
                         uint32_t compression = 0, size_t extra = 0) {
    const uint64_t rows = height < 0 ? -int64_t(height) : height;
    const uint64_t stride = (uint64_t(width > 0 ? width : 0) * bits + 31) / 32 * 4;
    const uint32_t palette = colours ? colours : bits <= 8 ? 1u << bits : 0;
    std::vector<uint8_t> dib(40 + palette * 4 + stride * rows + extra, 0x5A);
    StoreLe32(&dib[0], 40);
    StoreLe32(&dib[4], static_cast<uint32_t>(width));
    StoreLe32(&dib[8], static_cast<uint32_t>(height));
    StoreLe16(&dib[12], 1);
    StoreLe16(&dib[14], bits);
    StoreLe32(&dib[16], compression);
    StoreLe32(&dib[32], colours);
    return dib;
}

}  // namespace

TEST(TwainscanDib, GrayBitmapKeepsItsPaletteAndOnlyTheBytesItAnnounces) {
    // The block may be larger than the bitmap (GlobalSize rounds up): the file stops at the image.
    std::vector<uint8_t> dib = Dib(3, -2, 8, 0, 0, 16);
    DibLayout layout;
    std::string error;
    ASSERT_TRUE(ReadDibLayout(dib.data(), dib.size(), layout, error)) << error;
    EXPECT_EQ(layout.paletteEntries, 256u);
    EXPECT_EQ(layout.rowBytes, 4u);
    EXPECT_EQ(layout.dibBytes, 40u + 1024 + 8);

    const std::string path = ::testing::TempDir() + "twainscan_gray.bmp";
    ASSERT_TRUE(WriteDibAsBmp(dib.data(), layout, path, error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bmp((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 8);
    EXPECT_EQ(LoadLe32(&bmp[2]), bmp.size());
    EXPECT_EQ(LoadLe32(&bmp[10]), 14u + 40 + 1024);
    EXPECT_TRUE(std::equal(bmp.begin() + 14, bmp.end(), dib.begin()));
    std::remove(path.c_str());
}

TEST(TwainscanDib, HeadersThatDoNotFitTheBlockAreRefused) {
    struct Case {
        std::vector<uint8_t> dib;
        size_t blockBytes;
        const char* why;
    };
    std::vector<uint8_t> bigHeader = Dib(4, 4, 24);
    StoreLe32(&bigHeader[0], 4096);
    std::vector<uint8_t> planes = Dib(4, 4, 24);
    StoreLe16(&planes[12], 3);
    const std::vector<uint8_t> full = Dib(100, 100, 24);
    std::vector<uint8_t> tallest = Dib(1, 1, 8, 2);
    StoreLe32(&tallest[8], 0x80000000u);  // -2^31 lines must not wrap into a small size
    const Case cases[] = {
        {Dib(4, 4, 24), 39, "the block holds 39 bytes"},
        {bigHeader, bigHeader.size(), "header size 4096"},
        {Dib(0, 4, 24), 200, "size 0 x 4"},
        {Dib(4, 0, 24), 200, "size 4 x 0"},
        {Dib(4, 4, 12), 200, "1 planes of 12 bits"},
        {planes, planes.size(), "3 planes of 24 bits"},
        {Dib(4, 4, 8, 300), 3000, "300 palette entries"},
        {Dib(4, 4, 8, 0, 1), 2000, "compression 1"},
        {full, full.size() - 1, "it needs 30040 bytes but the block holds 30039"},
        {tallest, tallest.size(), "it needs 8589934640 bytes"},
    };
    for (const Case& c : cases) {
        DibLayout layout;
        std::string error;
        const size_t bytes = std::min(c.blockBytes, c.dib.size());
        EXPECT_FALSE(ReadDibLayout(c.dib.data(), bytes, layout, error)) << c.why;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
}
