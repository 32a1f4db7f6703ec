// The prescan's arithmetic without a scanner: geometry, rows, the bitmap header, white levels.
#include <gtest/gtest.h>

#include <vector>

#include "prescan/prescan_bitmap.h"
#include "prescan/prescan_bring_up.h"
#include "prescan/prescan_geometry.h"
#include "prescan/prescan_shading.h"

TEST(PrescanGeometry, PlansTheBedAndShortensOnlyTheWindow) {
    const PrescanGeometry a3 = PlanPrescan(1200, 0, 0, false, 0.0f);
    EXPECT_EQ(a3.plannedLines, 510u);  // 30 x 17.0
    EXPECT_EQ(a3.xEnd, 14040);
    EXPECT_EQ(a3.yEnd, 20400);
    EXPECT_EQ(PlanPrescan(1200, 0, 0, true, 0.0f).plannedLines, 1020u);

    const PrescanGeometry six = PlanPrescan(1200, 0, 0, false, 6.0f);
    EXPECT_EQ(six.yEnd, 7200);
    EXPECT_EQ(six.plannedLines, 510u);  // the file keeps the bed's height
    EXPECT_EQ(PlanPrescan(1200, 0, 0, false, 3.9f).yEnd, 20400);  // below 4 inches: ignored

    // The smaller model's bed, except through the film unit; its window in 800ths.
    const PrescanGeometry narrow = PlanPrescan(800, 0, 1, true, 0.0f);
    EXPECT_EQ(narrow.xEnd, 6800);
    EXPECT_EQ(narrow.yEnd, 9200);
    EXPECT_EQ(narrow.plannedLines, 690u);
    EXPECT_EQ(PlanPrescan(800, 1, 1, false, 0.0f).plannedLines, 510u);
    EXPECT_EQ(PlanPrescan(600, 0, 0, false, 0.0f).xEnd, 7020);
    EXPECT_EQ(PlanPrescan(606, 0, 0, false, 0.0f).xEnd, 14040);
    // A length past the smaller bed cannot be scanned there.
    EXPECT_EQ(PlanPrescan(1200, 0, 1, false, 16.0f).yEnd, 13800);
}

TEST(PrescanGeometry, RowsHoldWholePixelsPaddedToFourBytes) {
    EXPECT_EQ(RowsForLine(1000).pixels, 333u);
    EXPECT_EQ(RowsForLine(1000).rowBytes, 1000u);
    EXPECT_EQ(RowsForLine(1002).pixels, 334u);
    EXPECT_EQ(RowsForLine(1002).rowBytes, 1004u);
    EXPECT_EQ(RowsForLine(1053).rowBytes, 1056u);  // 351 pixels of the A3 bed at 30 dpi
}

TEST(PrescanBitmap, HeaderStatesTheFileOrRefuses) {
    std::vector<uint8_t> h;
    ASSERT_TRUE(BuildBitmapHeader(351, 510, 1056, true, h));
    ASSERT_EQ(h.size(), 54u);
    auto le32 = [&](size_t at) { return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24; };
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(le32(2), 510u * 1056 + 54);
    EXPECT_EQ(le32(10), 54u);
    EXPECT_EQ(le32(18), 351u);
    EXPECT_EQ(le32(22), 510u);
    EXPECT_EQ(h[28], 24);
    ASSERT_TRUE(BuildBitmapHeader(100, 10, 100, false, h));
    EXPECT_EQ(h.size(), 1078u);
    EXPECT_EQ(le32(46), 256u);
    EXPECT_EQ(h[54 + 4 * 200], 200);
    EXPECT_EQ(h[54 + 4 * 200 + 3], 0);
    // A size the 32-bit fields cannot hold is refused, not wrapped.
    EXPECT_FALSE(BuildBitmapHeader(100000, 70000, 300000, true, h));
}

TEST(PrescanShading, WhiteLevelsDropExtremesAndSumWithoutOverflow) {
    // 30 lines of one sample position per channel, all at the 12-bit top but for extremes:
    // a sum held in 16 bits would wrap long before 24 values of 4095.
    const uint32_t lineBytes = 6 + 2 * 3 * 2;  // two positions of each channel
    std::vector<std::vector<uint8_t>> lines(30, std::vector<uint8_t>(lineBytes, 0));
    for (uint32_t l = 0; l < lines.size(); ++l)
        for (uint32_t p = 0; p < 6; ++p) {
            uint16_t v = 4095;
            if (p == 1) v = 2000 + (l < 3 ? 0 : l >= 27 ? 5000 : 100);  // extremes dropped
            v |= 0xF000;  // bits above the 12 sample bits are not part of the sample
            lines[l][2 + 2 * p] = uint8_t(v);
            lines[l][3 + 2 * p] = uint8_t(v >> 8);
        }
    std::vector<const uint8_t*> starts;
    for (auto& line : lines) starts.push_back(line.data());
    std::vector<uint16_t> identity(4096), doubled(4096);
    for (int i = 0; i < 4096; ++i) identity[i] = uint16_t(i), doubled[i] = uint16_t(2 * i);
    const uint16_t* const tables[3] = {identity.data(), doubled.data(), identity.data()};
    PrescanCoefficients c;
    ASSERT_TRUE(ComputePrescanCoefficients(starts.data(), 30, lineBytes, tables, c));
    ASSERT_EQ(c.samples, 6u);
    auto value = [&](uint32_t at) { return uint16_t(c.high[at] << 8 | c.low[at]); };
    // Planes red, green, blue; positions cycle red, green, blue.
    EXPECT_EQ(value(0), 4095);      // red 0
    EXPECT_EQ(value(1), 4095);      // red 1 (position 3)
    EXPECT_EQ(value(2), 2 * 2100);  // green 0 (position 1), through its own table
    EXPECT_EQ(value(3), 2 * 4095);  // green 1
    EXPECT_EQ(value(4), 4095);

    PrescanShadingStore store{};
    uint8_t high[3] = {}, low[3] = {};
    store.high[0] = {1, 0, 0, high, {}};
    store.high[1] = {2, 0, 0, high + 1, {}};
    store.low[0] = {3, 0, 0, low, {}};
    KeepGreenPlane(c, store);
    EXPECT_EQ(store.keptSamples, 2);
    EXPECT_EQ(high[0], uint8_t(4200 >> 8));
    EXPECT_EQ(high[1], uint8_t(8190 >> 8));
    EXPECT_EQ(low[1], uint8_t(8190 & 0xFF));
    EXPECT_EQ(low[2], 0);  // past the plane: untouched

    EXPECT_FALSE(ComputePrescanCoefficients(starts.data(), 6, lineBytes, tables, c));
}

TEST(PrescanBringUp, ReadsTheOpticalResolutionEitherWay) {
    InquiryBlock inquiry{};
    auto spelt = [&](const char* digits) {
        std::copy(digits, digits + 4, inquiry.opticalResolution);
        return PrescanOpticalResolution(inquiry);
    };
    EXPECT_EQ(spelt("6000"), 600);
    EXPECT_EQ(spelt("0600"), 600);
    EXPECT_EQ(spelt("6060"), 606);
    EXPECT_EQ(spelt("8000"), 800);
    EXPECT_EQ(spelt("1200"), 1200);
    EXPECT_EQ(spelt("2400"), 0);
    EXPECT_EQ(spelt("    "), 0);
}
