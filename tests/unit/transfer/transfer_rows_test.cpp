// Rows per block and row lengths of memory transfers: what must hold for any buffer the
// application gives (never more bytes than it holds), and the cases where no row fits.
#include <gtest/gtest.h>

#include "scan_settings.h"
#include "transfer_rows.h"

namespace {

RowShape Shape(uint32_t bytesPerLine, uint16_t mode, uint16_t subMode = 0,
               uint32_t effective = 300, bool half = false, uint16_t dpiScale = 0) {
    RowInput in;
    in.bytesPerLine = bytesPerLine;
    in.scanMode = mode;
    in.subMode = subMode;
    in.effectiveResolution = effective;
    in.halfResolutionScan = half;
    in.dpiScale = dpiScale;
    in.scaling = 200;
    in.scanRes = 600;
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

// Interpolated scans deliver whole scanned lines only: 2 rows each, 2 x "DpiScale" with a
// dpi scale.
TEST(TransferRows, InterpolatedBlocksHoldWholeScannedLines) {
    const RowShape doubled = Shape(1000, kModeGray, 0, 1300, true);
    EXPECT_EQ(doubled.rowsPerLine, 2u);
    EXPECT_EQ(doubled.rowBytes, 4000u);  // doubled above 1200 dpi and again for the scan
    EXPECT_EQ(doubled.lineBytes, 2000u);
    EXPECT_EQ(RowsPerBlock(doubled, kModeGray, 7 * 4000), 6);
    EXPECT_LE(RowsPerBlock(doubled, kModeGray, 4000), 0);

    const RowShape scaled = Shape(1000, kModeGray, 0, 1300, true, 3);
    EXPECT_EQ(scaled.rowsPerLine, 6u);
    EXPECT_EQ(RowsPerBlock(scaled, kModeGray, 13 * scaled.rowBytes), 12);
}

TEST(TransferRows, RowsThatDoNotFitThirtyTwoBitsAreRefused) {
    RowInput in;
    in.bytesPerLine = 0x50000000;
    in.scanMode = kModeGray;
    in.effectiveResolution = 1300;
    in.halfResolutionScan = true;
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
