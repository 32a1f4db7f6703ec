// Start-reply geometry and the set-up's window checks.
#include <gtest/gtest.h>

#include "tests/unit/simulator/sim_fixture.h"

namespace {

// The data source's width rule, step by step.
uint32_t AccumulatorCount(uint32_t units, uint32_t res, uint32_t optical) {
    uint32_t acc = optical, count = 0;
    for (uint32_t u = 0; u < units; ++u) {
        acc += res;
        if (acc > optical) acc -= optical, ++count;
    }
    return count;
}

TEST(SimulatorGeometry, PixelCountFollowsTheDataSourceWidthRule) {
    for (uint32_t scale : {600u, 800u, 1200u})
        for (uint32_t res : {30u, 72u, 100u, 145u, 300u, 599u, 600u})
            for (uint32_t units = 1; units < 1500; units += 7)
                ASSERT_EQ(SamplesAcross(units, res, scale), AccumulatorCount(units, res, scale))
                    << units << " units at " << res << "/" << scale;
}

TEST(SimulatorGeometry, PrescanPlansThirtyOrSixtyLinesPerInchOfBed) {
    for (const char* model : {"600", "606", "800", "1200"})
        for (const char* bed : {"wide", "narrow"}) {
            const SimulatorConfig c = ConfigFrom({{"Model", model}, {"Bed", bed}});
            const BedExtent area = ScanArea(c.profile, 0);
            for (uint16_t dpi : {30, 60}) {
                ScanWindow w;
                w.xEnd = uint16_t(area.width), w.yEnd = uint16_t(area.length);
                w.resolution = dpi;
                w.fromDataSource = false;
                ScanGeometry g;
                ASSERT_EQ(PlanScan(c.profile, w, g), WindowCheck::Ok);
                const bool narrow = c.profile.narrowBed;
                EXPECT_EQ(g.lines, uint32_t(narrow ? 11.5 * dpi : 17 * dpi)) << model << bed;
                EXPECT_EQ(g.pixels, narrow ? uint32_t(8.5 * dpi) : uint32_t(11.7 * dpi)) << model << bed;
            }
        }
}

TEST(SimulatorGeometry, BytesPerLineFollowTheMode) {
    const ScannerProfile p;
    ScanWindow w = WindowInches(p, 1, 1, 2, 1.5, 100, kColourTypeLineArt);
    w.xEnd = uint16_t(w.xStart + 1212);  // 101 pixels at 100 of 1200
    const struct {
        uint8_t mode;
        uint32_t bytes;
    } cases[] = {{kColourTypeLineArt, 12}, {kColourTypeFastGray, 101}, {kColourTypeGray, 101},
                 {kColourTypeColour, 303}, {kColourTypeColour36, 606}};
    for (const auto& c : cases) {
        w.colourType = c.mode;
        ScanGeometry g;
        ASSERT_EQ(PlanScan(p, w, g), WindowCheck::Ok);
        EXPECT_EQ(g.pixels, 101u);
        EXPECT_EQ(g.bytesPerLine, c.bytes) << int(c.mode);
        EXPECT_EQ(g.lines, 50u);
    }
}

TEST(SimulatorGeometry, ImpossibleWindowsAreRefused) {
    const SimulatorConfig narrow = ConfigFrom({{"Bed", "narrow"}, {"Transparency", "1"}});
    const ScannerProfile& p = narrow.profile;
    const ScanWindow ok = WindowInches(p, 0, 0, 8.5, 11.5, 300, kColourTypeColour);
    ScanGeometry g;
    ASSERT_EQ(PlanScan(p, ok, g), WindowCheck::Ok);

    auto check = [&](auto change) {
        ScanWindow w = ok;
        change(w);
        return PlanScan(p, w, g);
    };
    EXPECT_EQ(check([](ScanWindow& w) { w.xEnd = w.xStart; }), WindowCheck::BadWindow);
    EXPECT_EQ(check([](ScanWindow& w) { w.yStart = w.yEnd; }), WindowCheck::BadWindow);
    EXPECT_EQ(check([](ScanWindow& w) { w.xEnd += 1; }), WindowCheck::BadWindow);
    EXPECT_EQ(check([](ScanWindow& w) { w.yEnd += 1; }), WindowCheck::BadWindow);
    EXPECT_EQ(check([](ScanWindow& w) { w.resolution = 1201; }), WindowCheck::BadResolution);
    EXPECT_EQ(check([](ScanWindow& w) { w.resolution = 0; }), WindowCheck::BadResolution);
    EXPECT_EQ(check([](ScanWindow& w) { w.colourType = 4; }), WindowCheck::BadColourType);
    EXPECT_EQ(check([](ScanWindow& w) { w.source = 3; }), WindowCheck::BadSource);
    EXPECT_EQ(check([](ScanWindow& w) { w.source = 4; }), WindowCheck::BadSource);
    // Film covers the wide area on either bed; the flatbed does not.
    EXPECT_EQ(check([](ScanWindow& w) { w.source = 1, w.xEnd = 14040, w.yEnd = 20400; }), WindowCheck::Ok);
    EXPECT_EQ(check([](ScanWindow& w) { w.xEnd = 14040; }), WindowCheck::BadWindow);
    // 36-bit colour across the whole bed at 1200 dpi does not fit a 16-bit line length.
    EXPECT_EQ(check([](ScanWindow& w) { w.source = 1, w.xEnd = 14040, w.resolution = 1200,
                                        w.colourType = kColourTypeColour36; }),
              WindowCheck::TooWide);
    // Too narrow for one line-art byte.
    EXPECT_EQ(check([](ScanWindow& w) { w.xEnd = w.xStart + 20, w.resolution = 300,
                                        w.colourType = kColourTypeLineArt; }),
              WindowCheck::BadWindow);
}

}  // namespace
