// The Main page's models: what the user reads for a region and which choices are offered.
#include <gtest/gtest.h>

#include "window/image_size.h"
#include "window/resolution_menu.h"
#include "window/scaling_choices.h"

namespace {

// A preview of half an inch per pixel: the region's inches come out exact.
SizeContext HalfInchPixels() {
    SizeContext c;
    c.inchesPerPixelX = c.inchesPerPixelY = 0.5;
    return c;
}

const PreviewRect kClient{0, 0, 40, 40};

ImageSize SizeOf(const ScanSettings& s, const PreviewRect& region, SizeContext c = HalfInchPixels()) {
    ImageSize size;
    EXPECT_TRUE(ComputeImageSize(s, c, region, kClient, size));
    return size;
}

}  // namespace

TEST(ImageSize, LetterPageAtThreeHundredDpi) {
    ScanSettings s;  // 24-bit colour, 300 dpi, 100 %, inches
    const ImageSize size = SizeOf(s, {2, 2, 19, 24});  // 8.5 x 11 inches
    EXPECT_EQ(size.pixelWidth, 2550u);
    EXPECT_EQ(size.pixelLength, 3300u);
    EXPECT_EQ(size.bytes, 25245000u);
    EXPECT_EQ(size.kilobytes, "24653.32");
    EXPECT_EQ(size.width, "8.50");
    EXPECT_EQ(size.length, "11.00");
    // Drawn from the other corner, the same region.
    EXPECT_EQ(SizeOf(s, {19, 24, 2, 2}).bytes, 25245000u);
}

TEST(ImageSize, BytesPerModeUnitsAndScaling) {
    ScanSettings s;
    s.ScanMode = kModeLineArt;
    s.ScanRes = 100;
    const PreviewRect oneByThree{0, 0, 1, 3};  // 0.5 x 1.5 inches: 50 x 150 = 7500 pixels
    EXPECT_EQ(SizeOf(s, oneByThree).bytes, (7500u + 7) / 8);
    s.ScanMode = kModeGray;
    EXPECT_EQ(SizeOf(s, oneByThree).bytes, 7500u);
    s.ScanMode = kModeColor;
    s.ScanSubMode = kSubMode36Bit;  // counted like 24-bit
    EXPECT_EQ(SizeOf(s, oneByThree).bytes, 22500u);
    s.UnitFlag = kUnitPixels;
    EXPECT_EQ(SizeOf(s, oneByThree).width, "50");
    s.UnitFlag = kUnitMm;
    EXPECT_EQ(SizeOf(s, oneByThree).length, "38.10");
    s.UnitFlag = kUnitCm;
    s.Scaling = 200;  // the shown size and the pixels grow with the output scaling
    EXPECT_EQ(SizeOf(s, oneByThree).length, "7.62");
    EXPECT_EQ(SizeOf(s, oneByThree).pixelWidth, 100u);
    s.DpiScale = 5;
    EXPECT_EQ(EffectiveResolution(s, 800), 8000u);
}

TEST(ImageSize, FeederPageWhateverTheRegionAndNothingWithoutAPreview) {
    ScanSettings s;
    SizeContext c = HalfInchPixels();
    c.feeder = true;
    const ImageSize size = SizeOf(s, {0, 0, 1, 1}, c);
    EXPECT_EQ(size.width, "8.27");
    EXPECT_EQ(size.length, "11.69");
    ImageSize untouched;
    untouched.width = "kept";
    EXPECT_FALSE(ComputeImageSize(s, c, {0, 0, 1, 1}, PreviewRect{}, untouched));
    EXPECT_EQ(untouched.width, "kept");
}

TEST(ScalingChoices, EffectiveResolutionNeverPastTwentyFourHundred) {
    const std::vector<uint16_t> upTo200 = {25, 50, 75, 100, 200};
    EXPECT_EQ(OfferedScalings(10, 1200).values, upTo200);
    EXPECT_EQ(OfferedScalings(10, 600).values, (std::vector<uint16_t>{25, 50, 75, 100, 200, 300, 400}));
    EXPECT_EQ(OfferedScalings(10, 2400).values, (std::vector<uint16_t>{25, 50, 75, 100}));
    EXPECT_FALSE(OfferedScalings(10, 4800).enabled);
    EXPECT_TRUE(OfferedScalings(10, 4800).forceHundred);
    EXPECT_FALSE(OfferedScalings(10, 1600).enabled);
    EXPECT_EQ(OfferedScalings(10, 300).values.back(), 600);
    EXPECT_EQ(OfferedScalings(10, 500).values.back(), 400);  // 500 and 600 would pass 2400
    // The quality factor multiplies (1.5 x 400 = 600).
    EXPECT_EQ(OfferedScalings(15, 400).values, OfferedScalings(10, 600).values);
    EXPECT_EQ(QualityTenths(2), 20u);
    EXPECT_TRUE(CustomScalingFits(10, 1200, 200));
    EXPECT_FALSE(CustomScalingFits(10, 1200, 201));
    EXPECT_FALSE(CustomScalingFits(10, 72, 1));  // rounds to nothing
}

TEST(ScalingChoices, ThirtySixBitAgainstSixHundredAndQualityFactors) {
    EXPECT_EQ(Offered36BitScalings(false, 10, 600).values, (std::vector<uint16_t>{100}));
    EXPECT_EQ(Offered36BitScalings(false, 10, 250).values, (std::vector<uint16_t>{100, 200, 300}));
    EXPECT_EQ(Offered36BitScalings(false, 10, 72).values.size(), 6u);
    EXPECT_EQ(Offered36BitScalings(true, 20, 100).values, (std::vector<uint16_t>{100, 200, 300}));
    EXPECT_EQ(Offered36BitQualities(100, 600), (std::vector<uint32_t>{10}));
    EXPECT_EQ(Offered36BitQualities(100, 300), (std::vector<uint32_t>{10, 15, 20}));
    EXPECT_EQ(Offered36BitQualities(100, 100).size(), 5u);
    EXPECT_EQ(OfferedQualities(1600).tenths, (std::vector<uint32_t>{10, 15, 30}));
    EXPECT_EQ(OfferedQualities(1000).tenths, (std::vector<uint32_t>{10, 15, 20}));
    EXPECT_FALSE(OfferedQualities(2000).enabled);
    EXPECT_EQ(OfferedQualities(133).tenths.size(), 5u);
    EXPECT_EQ(KeepIfOffered<uint32_t>({10, 15}, 25), 10u);
    EXPECT_EQ(KeepIfOffered<uint32_t>({10, 15}, 15), 15u);
}

TEST(ResolutionMenu, PerModelAndDestinationWithRecentValues) {
    EXPECT_EQ(OpeningMenu(600), 800);
    EXPECT_EQ(OpeningMenu(606), 820);
    EXPECT_EQ(MenuFor(kDestinationHalftone, true), 830);
    EXPECT_EQ(MenuFor(kDestinationMonitor, true), 840);
    EXPECT_EQ(MenuFor(1023, false), 820);
    uint16_t recent[kRecentCustomValues] = {};
    for (uint16_t v : {110, 220, 330, 440, 550}) RememberCustomResolution(recent, v);
    RememberCustomResolution(recent, 330);  // already there: nothing moves
    RememberCustomResolution(recent, 660);  // the oldest goes
    EXPECT_EQ(std::vector<uint16_t>(recent, recent + 5), (std::vector<uint16_t>{220, 330, 440, 550, 660}));
    const std::vector<MenuItem> items = MenuItems(810, recent);
    ASSERT_EQ(items.size(), 11u + 1 + 5 + 1);
    EXPECT_EQ(items[7].value, 1600);  // the 800 dpi model's own steps
    EXPECT_EQ(items[11].command, 0);  // the separator
    EXPECT_EQ(items[12].command, kMenuRecentFirst);
    EXPECT_EQ(items[16].command, 1822);
    EXPECT_EQ(items[16].value, 660);  // the newest last
    EXPECT_EQ(items.back().command, kMenuCustomCommand);
    EXPECT_TRUE(MenuItems(850, recent).empty());
}
