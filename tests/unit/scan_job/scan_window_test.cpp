// The scan window a job asks for: effective resolution, half-resolution scans, descreen's
// minimum, and the width rule that keeps scanned lines a multiple of 4 but not of 128.
#include <gtest/gtest.h>

#include "request_blocks.h"
#include "scan_window.h"

namespace {

ScanWindowInput Input(const ScanSettings& s, ScanArea area, uint16_t optical, bool memoryOrFile) {
    ScanWindowInput in{};
    in.area = area;
    in.settings = &s;
    in.opticalResolution = optical;
    in.memoryOrFileTransfer = memoryOrFile;
    in.lampSaverMinutes = 20;
    return in;
}

// Pixels counted the way the scanner's accumulator counts them, one unit at a time.
uint32_t CountedPixels(uint32_t units, uint32_t resolution, uint32_t optical) {
    uint32_t accumulator = optical, count = 0;
    for (uint32_t u = 0; u < units; ++u) {
        accumulator += resolution;
        if (accumulator > optical) {
            accumulator -= optical;
            ++count;
        }
    }
    return count;
}

TEST(ScanWindow, PixelCountMatchesTheScannersAccumulator) {
    for (uint32_t optical : {600u, 800u, 1200u})
        for (uint32_t resolution : {50u, 75u, 299u, 300u, 599u, 600u})
            for (uint32_t units : {0u, 1u, 7u, 599u, 600u, 1201u, 14040u})
                EXPECT_EQ(ScannedPixels(units, uint16_t(resolution), uint16_t(optical)),
                          CountedPixels(units, resolution, optical))
                    << units << " units at " << resolution << " of " << optical;
}

TEST(ScanWindow, WidthRuleNarrowsTheRightEdge) {
    const ScanArea area{100, 0, 1301, 500};
    const int32_t right = AcceptableRight(area, 300, 1200, false);
    const uint32_t pixels = ScannedPixels(uint32_t(right - area.left), 300, 1200);
    EXPECT_LE(right, area.right);
    EXPECT_EQ(pixels % 4, 0u);
    EXPECT_NE(pixels % 128, 0u);
    // Every edge between the found one and the original fails the rule.
    for (int32_t r = right + 1; r <= area.right; ++r) {
        const uint32_t p = ScannedPixels(uint32_t(r - area.left), 300, 1200);
        EXPECT_TRUE(p % 4 != 0 || p % 128 == 0) << r;
    }
}

TEST(ScanWindow, LineArtCountsBytesAndAnImpossibleAreaKeepsItsEdge) {
    const ScanArea lineArt{0, 0, 900, 10};
    const int32_t right = AcceptableRight(lineArt, 600, 1200, true);
    const uint32_t bytes = ScannedPixels(uint32_t(right), 600, 1200) / 8;
    EXPECT_EQ(bytes % 4, 0u);
    EXPECT_NE(bytes % 128, 0u);
    const ScanArea tiny{10, 0, 13, 10};  // never 4 pixels wide above left
    EXPECT_EQ(AcceptableRight(tiny, 300, 1200, false), 13);
}

TEST(ScanWindow, DoubleScalingOnTheSmallestModelScansAtHalfResolution) {
    ScanSettings s;
    s.ScanRes = 600;
    s.Scaling = 200;
    SetParametersBlock block{};
    const ScanWindowResult r = BuildScanWindow(Input(s, {0, 0, 1200, 600}, 600, true), block);
    EXPECT_EQ(r.effectiveResolution, 1200);
    EXPECT_TRUE(r.halfResolutionScan);
    EXPECT_EQ(r.askedResolution, 600);
    EXPECT_EQ(block.resolution, 600);
    // A native transfer keeps what it had: no doubling is possible there.
    const ScanWindowResult native = BuildScanWindow(Input(s, {0, 0, 1200, 600}, 600, false), block);
    EXPECT_FALSE(native.halfResolutionScan);
    EXPECT_EQ(native.askedResolution, 600);
}

TEST(ScanWindow, PrintDestinationMultipliesByTheQualityFactor) {
    ScanSettings s;
    s.Destination = 1022;
    s.QualityFactor = 15;
    s.ScanRes = 200;
    SetParametersBlock block{};
    const ScanWindowResult r = BuildScanWindow(Input(s, {0, 0, 1200, 600}, 1200, true), block);
    EXPECT_EQ(r.effectiveResolution, 300);
    EXPECT_EQ(block.resolution, 300);
}

TEST(ScanWindow, DescreenAtLowResolutionAsksFor300AndTheBlockIsComplete) {
    ScanSettings s;
    s.ScanRes = 150;
    s.ScanMode = kModeColor;
    s.ScanSubMode = kSubMode36Bit;
    s.ScanSource = 1;
    s.Velocity = 0x21;
    ScanWindowInput in = Input(s, {120, 240, 2400, 3600}, 1200, true);
    in.descreenAtLowRes = true;
    SetParametersBlock block{};
    BuildScanWindow(in, block);
    EXPECT_EQ(block.resolution, 300);
    EXPECT_EQ(block.xStart, 120);
    EXPECT_EQ(block.yStart, 240);
    EXPECT_EQ(block.yEnd, 3600);
    EXPECT_EQ(block.source, 1);
    EXPECT_EQ(block.fromDataSource, 1);
    EXPECT_EQ(block.colourType, kColourTypeColour36);
    EXPECT_EQ(block.speed, 0x21);
    EXPECT_EQ(block.lampSaverMinutes, 20);
    EXPECT_EQ(block.lampSaverOnly, 0);
}

// A genuine reply is exactly what the window holds (the accumulator's count, a line-art byte
// per 8 pixels); one line or one byte more is a broken reply. The 606 model counts its
// window in 1200ths while the source knows it as 606: its genuine replies are smaller still.
TEST(ScanWindow, StartReplyMayNotExceedTheWindow) {
    struct Case {
        uint8_t colourType;
        uint32_t bytesPerPixel8;  // bytes per 8 pixels
    };
    for (uint16_t optical : {uint16_t(600), uint16_t(800), uint16_t(1200)})
        for (Case c : {Case{kColourTypeLineArt, 1}, Case{kColourTypeGray, 8},
                       Case{kColourTypeColour, 24}, Case{kColourTypeColour36, 48}}) {
            SetParametersBlock w{};
            w.xStart = 100, w.xEnd = 100 + 2 * optical + 40, w.yStart = 7, w.yEnd = 7 + optical;
            w.resolution = 300, w.colourType = c.colourType;
            const uint32_t pixels = CountedPixels(w.xEnd - w.xStart, 300, optical);
            const uint32_t lines = CountedPixels(w.yEnd - w.yStart, 300, optical);
            const uint32_t bytes = pixels * c.bytesPerPixel8 / 8;
            EXPECT_TRUE(StartReplyFitsWindow(w, optical, lines, bytes)) << optical;
            EXPECT_FALSE(StartReplyFitsWindow(w, optical, lines + 1, bytes)) << optical;
            EXPECT_FALSE(StartReplyFitsWindow(w, optical, lines, bytes + 1 + (c.bytesPerPixel8 == 1)))
                << optical;
        }
    SetParametersBlock w{};
    w.xEnd = 1200, w.yEnd = 1200, w.resolution = 300, w.colourType = kColourTypeColour;
    EXPECT_TRUE(StartReplyFitsWindow(w, 606, 300, 900));  // counted in 1200ths
    EXPECT_FALSE(StartReplyFitsWindow(w, 606, 0xFFFF, 0xFFFF));
}

}  // namespace
