// Rows per block and row lengths of memory transfers: what must hold for any buffer the
// application gives (never more bytes than it holds), and the cases where no row fits.
#include <gtest/gtest.h>

#include "engine/transfer_rows.h"
#include "settings/scan_settings.h"

namespace {

RowShape Shape(uint32_t bytesPerLine, uint16_t mode, uint16_t subMode = 0,
               uint32_t effective = 300, uint16_t asked = 300, uint32_t factor = 1) {
    RowInput in;
    in.bytesPerLine = bytesPerLine;
    in.scanMode = mode;
    in.subMode = subMode;
    in.plan.effective = effective;
    in.plan.asked = asked;
    in.plan.factor = factor;
    RowShape shape;
    EXPECT_TRUE(ShapeRows(in, &shape));
    return shape;
}

TEST(TransferRows, ColourRowsAreTheScannedLines) {
    const RowShape s = Shape(9000, kModeColor);
    EXPECT_EQ(s.rowBytes, 9000u);
    EXPECT_EQ(s.replyBytesPerRow, 9000u);
    EXPECT_EQ(RowsPerBlock(s, kModeColor, 65536), 7);
    EXPECT_EQ(RowsPerBlock(s, kModeColor, 8999), 0);
}

TEST(TransferRows, LineArtLeavesTwoRowsOfEveryBufferUnused) {
    const RowShape s = Shape(25, kModeLineArt);
    EXPECT_EQ(RowsPerBlock(s, kModeLineArt, 75), 1);
    EXPECT_LE(RowsPerBlock(s, kModeLineArt, 50), 0);
    EXPECT_LE(RowsPerBlock(s, kModeLineArt, 25), 0);
}

// CMYK blocks are cut for 49,152 bytes of colour rows and answered four bytes a pixel: the
// answer must still fit the buffer the application gave.
TEST(TransferRows, CmykBlocksNeverExceedTheApplicationBuffer) {
    const RowShape s = Shape(9000, kModeColor, kSubModeCmyk);
    EXPECT_EQ(s.replyBytesPerRow, 12000u);
    EXPECT_EQ(RowsPerBlock(s, kModeColor, 1 << 20), 5);  // 49152 / 9000
    for (uint32_t buffer : {12000u, 30000u, 59999u, 65536u}) {
        const int64_t rows = RowsPerBlock(s, kModeColor, buffer);
        EXPECT_LE(rows * s.replyBytesPerRow, int64_t(buffer)) << buffer;
        EXPECT_GE(rows, 1) << buffer;
    }
}

// Enlarged scans take whole scanned lines into a block: room for k rows each. The rows hold
// the delivered pixels: twice the line at 1300 dpi from 650, 1299/1300 of that at 1299.
TEST(TransferRows, EnlargedBlocksHoldWholeScannedLines) {
    const RowShape doubled = Shape(1000, kModeGray, 0, 1300, 650, 2);
    EXPECT_EQ(doubled.rowsPerLine, 2u);
    EXPECT_EQ(doubled.rowBytes, 2000u);
    EXPECT_EQ(doubled.pixels, 2000u);
    EXPECT_EQ(doubled.lineBytes, 1000u);
    EXPECT_FALSE(doubled.thinned);
    EXPECT_EQ(RowsPerBlock(doubled, kModeGray, 7 * 2000), 6);
    EXPECT_LE(RowsPerBlock(doubled, kModeGray, 2000), 0);

    const RowShape thinned = Shape(1000, kModeColor, kSubMode24Bit, 1299, 650, 2);
    EXPECT_TRUE(thinned.thinned);
    EXPECT_EQ(thinned.pixels, 665u);  // 333 pixels x 1299 / 650
    EXPECT_EQ(thinned.rowBytes, 1995u);

    const RowShape six = Shape(1000, kModeLineArt, 0, 3600, 600, 6);
    EXPECT_EQ(six.rowsPerLine, 6u);
    EXPECT_EQ(six.pixels, 48000u);
    EXPECT_EQ(RowsPerBlock(six, kModeLineArt, 13 * six.rowBytes), 6);
}

// 16-bit samples are never enlarged: the shape is refused instead of made up.
TEST(TransferRows, DeepColourIsNotEnlarged) {
    RowInput in;
    in.bytesPerLine = 600;
    in.scanMode = kModeColor;
    in.subMode = kSubMode36Bit;
    in.plan = {1200, 600, 2, false};
    RowShape shape;
    EXPECT_FALSE(ShapeRows(in, &shape));
    in.plan = {600, 600, 1, false};
    ASSERT_TRUE(ShapeRows(in, &shape));
    EXPECT_EQ(shape.pixels, 100u);
    EXPECT_EQ(shape.rowBytes, 600u);
}

TEST(TransferRows, RowsThatDoNotFitThirtyTwoBitsAreRefused) {
    RowInput in;
    in.bytesPerLine = 0x90000000;
    in.scanMode = kModeGray;
    in.plan = {1300, 650, 2, false};
    RowShape shape;
    EXPECT_FALSE(ShapeRows(in, &shape));
    in.bytesPerLine = 0;
    EXPECT_FALSE(ShapeRows(in, &shape));
}

TEST(TransferRows, FilesHaveNoCmykLayout) {
    PixelLayout layout = PixelLayout::Gray;
    ASSERT_TRUE(FileLayoutOf(kModeColor, kSubModeCmyk, &layout));
    EXPECT_EQ(layout, PixelLayout::Rgb24);
    ASSERT_TRUE(FileLayoutOf(kModeColor, kSubMode36Bit, &layout));
    EXPECT_EQ(layout, PixelLayout::Rgb48);
}

}  // namespace
