// The scan window a job asks for: effective resolution, half-resolution scans, descreen's
// minimum, and the width rule that keeps scanned lines a multiple of 4 but not of 128.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/request_blocks.h"
#include "engine/scan_window.h"
#include "twain/start_without_ui.h"

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

// Double scaling on the smallest model: 1200 dpi from 600 dpi lines enlarged twice, by every
// transfer alike (a native transfer too: its image must be what it says).
TEST(ScanWindow, DoubleScalingOnTheSmallestModelScansAtHalfResolution) {
    ScanSettings s;
    s.ScanRes = 600;
    s.Scaling = 200;
    for (bool memoryOrFile : {true, false}) {
        SetParametersBlock block{};
        const ResolutionPlan r = BuildScanWindow(Input(s, {0, 0, 1200, 600}, 600, memoryOrFile), block);
        EXPECT_EQ(r.effective, 1200u);
        EXPECT_EQ(r.factor, 2u);
        EXPECT_EQ(r.asked, 600);
        EXPECT_EQ(block.resolution, 600);
    }
}

// The quality factor counts for the resolution asked, also above the optical resolution:
// 600 lpi x 2.0 on the 600 dpi model is 1200 dpi from 600 dpi lines, not 300.
TEST(ScanWindow, PrintDestinationMultipliesByTheQualityFactor) {
    ScanSettings s;
    s.Destination = 1022;
    s.QualityFactor = 15;
    s.ScanRes = 200;
    SetParametersBlock block{};
    ResolutionPlan r = BuildScanWindow(Input(s, {0, 0, 1200, 600}, 1200, true), block);
    EXPECT_EQ(r.effective, 300u);
    EXPECT_EQ(block.resolution, 300);
    s.ScanRes = 600;
    s.QualityFactor = 20;
    r = BuildScanWindow(Input(s, {0, 0, 600, 600}, 600, true), block);
    EXPECT_EQ(r.effective, 1200u);
    EXPECT_EQ(r.factor, 2u);
    EXPECT_EQ(block.resolution, 600);
}

// The scanner is asked for the effective resolution up to its optical one; above it for the
// smallest whole fraction it can deliver, rounded up (and thinned back afterwards).
TEST(ScanWindow, ResolutionsAboveTheOpticalAreWholeFractions) {
    struct Case {
        uint32_t effective;
        uint16_t optical;
        uint16_t asked;
        uint32_t factor;
    };
    for (const Case& c : {Case{800, 1200, 800, 1}, Case{1200, 1200, 1200, 1},
                          Case{1575, 1200, 788, 2}, Case{2400, 1200, 1200, 2},
                          Case{2400, 800, 600, 4}, Case{1800, 600, 450, 4},
                          Case{3600, 600, 600, 6}, Case{9600, 1200, 1200, 8},
                          Case{20000, 1200, 1200, 8}, Case{1212, 606, 606, 2}}) {
        ResolutionInput in;
        in.effective = c.effective;
        in.opticalResolution = c.optical;
        const ResolutionPlan plan = PlanResolution(in);
        EXPECT_EQ(plan.asked, c.asked) << c.effective << " on " << c.optical;
        EXPECT_EQ(plan.factor, c.factor) << c.effective << " on " << c.optical;
        EXPECT_EQ(plan.effective, std::min(c.effective, 8u * c.optical));
        EXPECT_EQ(DeliveredCount(1000, plan), 1000ull * plan.effective / plan.asked);
    }
}

// Descreen below 300 dpi scans at 300 only where the lines are reduced afterwards.
TEST(ScanWindow, DescreenRaisesTheScanOnlyWhereTheImageIsReduced) {
    ResolutionInput in;
    in.effective = 150;
    in.opticalResolution = 1200;
    in.descreenAtLowRes = true;
    in.reducibleSamples = true;
    EXPECT_EQ(PlanResolution(in).asked, 300);
    EXPECT_TRUE(PlanResolution(in).reduceDescreened);
    in.reducibleSamples = false;  // line art, 36-bit, native transfer
    EXPECT_EQ(PlanResolution(in).asked, 150);
    EXPECT_FALSE(PlanResolution(in).reduceDescreened);
}

TEST(ScanWindow, DescreenAtLowResolutionAsksFor300AndTheBlockIsComplete) {
    ScanSettings s;
    s.ScanRes = 150;
    s.ScanMode = kModeColor;
    s.ScanSubMode = kSubMode24Bit;
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
    EXPECT_EQ(block.colourType, kColourTypeColour);
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

namespace {

TW_FIX32 Fix(double inches) {
    const int32_t v = int32_t(inches * 65536.0 + 0.5);
    return TW_FIX32{static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF)};
}

// A frame under one inch is a frame (its whole parts are zero); the 606 model counts the
// area in 1200ths like the 1200 dpi model, so the same frame is the same area on both.
TEST(ScanWithoutWindow, FramesUnderAnInchAndThe606ModelsUnits) {
    const TW_FRAME small{Fix(0.25), Fix(0.125), Fix(0.75), Fix(0.5)};
    for (uint16_t optical : {1200, 606}) {
        const ScanArea a = AreaWithoutWindow(small, optical);
        EXPECT_EQ(a.left, 300) << optical;
        EXPECT_EQ(a.top, 150) << optical;
        EXPECT_EQ(a.right, 900) << optical;
        EXPECT_EQ(a.bottom, 600) << optical;
    }
    EXPECT_EQ(AreaWithoutWindow(small, 600).right, 450);
    const ScanArea page = AreaWithoutWindow(TW_FRAME{}, 600);  // no frame: the page
    EXPECT_EQ(page.left, 401);
    EXPECT_EQ(page.right, 5102);
    EXPECT_EQ(page.bottom, 6968);
}

}  // namespace
