// The Main page's models: what the user reads for a region and which choices are offered.
#include <gtest/gtest.h>

#include "window/custom_resolution.h"
#include "window/help_contexts.h"
#include "window/image_size.h"
#include "window/language_choice.h"
#include "window/main_page_lists.h"
#include "window/progress_display.h"
#include "window/resolution_menu.h"
#include "window/scaling_choices.h"
#include "window/scan_region.h"
#include "window/tab_strip.h"

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
    EXPECT_EQ(ShownResolution(s, 800), 8000u);
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

TEST(ScanRegion, KeptOnTheBedAndCountedInScannerUnits) {
    const PreviewRect client{0, 0, 351, 510};
    // Drawn upwards and to the left, past the left edge: normalised and clamped.
    PreviewRect r = RegionForScan({100, 300, -5, 200}, client);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 300);
    // Dragged wholly below the bed: its last pixel row.
    r = RegionForScan({10, 600, 40, 700}, client);
    EXPECT_EQ(r.top, 508);
    EXPECT_EQ(r.bottom, 509);
    // Reaching past the bed: scanned down to its last row, not collapsed.
    r = RegionForScan({10, 100, 40, 700}, client);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.bottom, 509);

    SizeContext c;
    c.inchesPerPixelX = c.inchesPerPixelY = 1.0 / 30;
    const ScanArea a = AreaForScan({30, 60, 90, 150}, client, c);  // 1 to 3 in across, 2 to 5 down
    EXPECT_EQ(a.left, 1200);
    EXPECT_EQ(a.right, 3600);
    EXPECT_EQ(a.top, 2400);
    EXPECT_EQ(a.bottom, 6000);
    c.opticalResolution = 606;  // counts its window in 1200ths too
    EXPECT_EQ(AreaForScan({30, 60, 90, 150}, client, c).right, 3600);
    c.feeder = true;
    c.opticalResolution = 600;
    const ScanArea page = AreaForScan({30, 60, 90, 150}, client, c);
    EXPECT_EQ(page.left, 188);  // 8 mm
    EXPECT_EQ(page.right, 5102);
    EXPECT_EQ(page.bottom, 6968);
}

TEST(ScanRegion, WidthLimitPerMode) {
    ScanSettings s;
    s.ScanRes = 1200;
    const PreviewRect bedWidth{0, 0, 351, 10};  // 11.7 inches at 30 pixels an inch
    EXPECT_FALSE(WidthWithinLimit(s, bedWidth, 1.0 / 30));  // 14040 colour pixels
    s.ScanMode = kModeGray;
    EXPECT_TRUE(WidthWithinLimit(s, bedWidth, 1.0 / 30));
    s.ScanRes = 2400;
    s.Scaling = 200;
    EXPECT_FALSE(WidthWithinLimit(s, bedWidth, 1.0 / 30));
}

TEST(TabStrip, LabelsAndClosedTabs) {
    EXPECT_EQ(TabLabel("Enhancements", 0), "Enhance..");
    EXPECT_EQ(TabLabel("Filters", 0), "Filters");
    EXPECT_EQ(TabLabel("\xB1\xD3\xB1\xD3\xB1\xD3\xB1\xD3", 7), "\xB1\xD3\xB1\xD3\xB1\xD3\xB1\xD3");
    TabRules rules;
    rules.outputMatching = true;
    EXPECT_FALSE(TabSelectable(kTabEnhancements, rules));
    EXPECT_TRUE(TabSelectable(kTabFilters, rules));
    rules = TabRules{};
    rules.colour36 = true;
    EXPECT_FALSE(TabSelectable(kTabFilters, rules));
    EXPECT_TRUE(TabSelectable(kTabAbout, rules));
}

TEST(LanguageChoice, WhatEachEditionOffers) {
    EXPECT_EQ(LanguageEntryStrings(EditionOf("None")).size(), 6u);
    const Edition simple = EditionOf("Simple");
    EXPECT_EQ(LanguageEntryStrings(simple), (std::vector<uint32_t>{165, 223}));
    EXPECT_EQ(EntryForLanguage(simple, 7), 1);  // Simplified Chinese current: second entry
    EXPECT_EQ(LanguageForEntry(simple, 0, 7), 0);
    EXPECT_EQ(LanguageForEntry(EditionOf("Chinese"), 1, 0), 6);
    EXPECT_EQ(LanguageForEntry(EditionOf("None"), 3, 0), 3);
    EXPECT_EQ(EntryForLanguage(EditionOf("None"), 6), -1);
    EXPECT_FALSE(GlobeOpensDialog(EditionOf("English")));
    EXPECT_TRUE(LanguageEntryStrings(EditionOf("Klingon")).empty());
    EXPECT_EQ(LanguageForEntry(EditionOf("Klingon"), 0, 4), 4);  // OK keeps the language
}

TEST(MainPageLists, ChoicesAndTheControlsThatFollow) {
    EXPECT_EQ(ScanSourceEntries(false).size(), 1u);
    EXPECT_EQ(ScanSourceEntries(true).back().text, 164u);  // "Negative"
    ScanSettings s;
    ChooseScanMode(s, 4);  // CMYK
    EXPECT_EQ(s.ScanMode, kModeColor);
    EXPECT_EQ(s.ScanSubMode, kSubModeCmyk);
    MainPageControls c = ControlsFor(s, false);
    EXPECT_TRUE(c.outputMatchingEnabled);
    EXPECT_FALSE(ControlsFor(s, true).outputMatchingEnabled);  // the colour-management program
    s.FilterMode = 3;
    ChooseScanMode(s, 5);  // 36-bit colour: 100 dpi, no filter, its own menu
    EXPECT_EQ(s.ScanRes, 100);
    EXPECT_EQ(s.FilterMode, 0);
    c = ControlsFor(s, false);
    EXPECT_EQ(c.resolutionMenu, 840);
    EXPECT_FALSE(c.descreenEnabled);
    EXPECT_FALSE(c.outputMatchingEnabled);
    EXPECT_FALSE(c.scanEnabled);
    EXPECT_EQ(EntryOfScanMode(kModeColor, kSubMode36Bit), 5);
    ChooseDestination(s, kDestinationHalftone);  // screen rulings in lpi
    EXPECT_EQ(s.ScanRes, 133);
    c = ControlsFor(s, false);
    EXPECT_EQ(c.resolutionMenu, 830);
    EXPECT_EQ(c.resolutionUnitText, 359u);
    EXPECT_TRUE(c.qualityFactorEnabled);
    ChooseScanMode(s, 0);
    ChooseDestination(s, 1023);
    EXPECT_EQ(s.ScanRes, 600);
    c = ControlsFor(s, false);
    EXPECT_FALSE(c.descreenEnabled);  // line art
    EXPECT_FALSE(c.qualityFactorEnabled);
    EXPECT_EQ(c.resolutionMenu, 820);
}

TEST(ProgressDisplay, FillsInStepsAndGoesAtTheEnd) {
    ProgressDisplay d;
    ProgressStep s = AdvanceProgress(d, 0, 510, false);
    EXPECT_TRUE(s.clearBar);
    EXPECT_EQ(s.percentText, "  0 %");
    EXPECT_FALSE(AdvanceProgress(d, 20, 510, false).draw);  // 3 %: not yet
    s = AdvanceProgress(d, 124, 510, false);                // 24 %
    EXPECT_EQ(s.invertFrom, 0u);
    EXPECT_EQ(s.invertTo, 24u);
    EXPECT_EQ(s.percentText, " 24 %");
    s = AdvanceProgress(d, 248, 510, false);  // 48 %: the bar goes on from 24
    EXPECT_EQ(s.invertFrom, 24u);
    EXPECT_FALSE(s.destroy);
    s = AdvanceProgress(d, 600, 510, false);  // past the total: 100 %
    EXPECT_EQ(s.percentText, "100 %");
    EXPECT_TRUE(s.destroy);
    EXPECT_FALSE(AdvanceProgress(d, 10, 0, false).draw);
    EXPECT_FALSE(AdvanceProgress(d, 0, 510, true).draw);  // the feeder's pages show nothing
    EXPECT_EQ(MostCustomScaling(300), 600u);
    EXPECT_EQ(MostCustomScaling(600), 400u);
    EXPECT_EQ(MostCustomScaling(1200), 200u);
}

TEST(CustomResolution, StepsRangeAndRounding) {
    const ResolutionRange plain = CustomResolutionRange(800, false);
    EXPECT_EQ(plain.most, 800u);
    EXPECT_EQ(CustomResolutionRange(1200, true).most, 2400u);
    EXPECT_EQ(CustomResolutionSteps(800, 500).line, 40u);
    EXPECT_EQ(CustomResolutionSteps(1200, 1500).page, 240u);
    EXPECT_EQ(CustomResolutionSteps(606, 9999).line, 6u);
    EXPECT_EQ(CustomResolutionSteps(600, 50).line, 0u);  // outside every range
    // A line on from 410 on the 800 dpi model: 450, rounded down to a multiple of 40.
    EXPECT_EQ(MoveCustomResolution(800, plain, 410, SliderAction::LineMore), 440u);
    EXPECT_EQ(MoveCustomResolution(800, plain, 500, SliderAction::PageMore), 560u);  // 580 rounded
    EXPECT_EQ(MoveCustomResolution(800, plain, 790, SliderAction::PageMore), 800u);  // kept in range
    EXPECT_EQ(MoveCustomResolution(800, plain, 100, SliderAction::PageLess), 72u);
    EXPECT_EQ(MoveCustomResolution(800, plain, 300, SliderAction::Thumb, 333), 332u);
    EXPECT_EQ(MoveCustomResolution(800, plain, 300, SliderAction::Most), 800u);
    EXPECT_EQ(TypedCustomResolution(plain, 9000), 800u);
    EXPECT_EQ(TypedCustomResolution(plain, -5), 72u);
    EXPECT_FALSE(ScanAllowedAt(700, true));
    EXPECT_TRUE(ScanAllowedAt(700, false));
}

TEST(QuickHelp, ContextsAndFiles) {
    EXPECT_EQ(HelpContext(HelpWindow::MainPage, 1023), 12u);
    EXPECT_EQ(HelpContext(HelpWindow::MainWindow, 1003), 46u);
    EXPECT_EQ(HelpContext(HelpWindow::FiltersPage, 6012), 38u);
    EXPECT_EQ(HelpContext(HelpWindow::MainPage, 1001), 0u);  // no help there
    EXPECT_EQ(HelpFilePath("C:\\WINDOWS", 1), "C:\\WINDOWS\\TWAIN_32\\KVTC_A3\\CSHLP_D.HLP");
    EXPECT_EQ(HelpFilePath("C:\\WINDOWS", 6), "C:\\WINDOWS\\TWAIN_32\\KVTC_A3\\CSHLP_U.HLP");
}

TEST(ToolTips, TextsAndLife) {
    EXPECT_EQ(ToolTipText(HelpWindow::MainPage, 1028), 362u);
    EXPECT_EQ(ToolTipText(HelpWindow::ColourPage, 5124), 364u);
    EXPECT_EQ(ToolTipText(HelpWindow::MainPage, 1002), 0u);
    EXPECT_FALSE(ToolTipExpired(1000, 3999));
    EXPECT_TRUE(ToolTipExpired(1000, 4000));
}
