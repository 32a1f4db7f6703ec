// The scanning window's rules outside the Main page: title, placement, Reset, the About
// lines, and the preview geometry that the size routine and the Scan area rest on.
#include <gtest/gtest.h>

#include "window/image_size.h"
#include "window/main_window_model.h"
#include "window/scan_region.h"

TEST(MainWindowTitle, OnlyTheSolenneBrandNamesTheWindow) {
    EXPECT_EQ(MainWindowTitle("Solenne", "A3 Flatbed Scanner"), "Solenne A3 Flatbed Scanner");
    EXPECT_EQ(MainWindowTitle("SOLENNE", "Model"), "SOLENNE Model");
    EXPECT_EQ(MainWindowTitle("SCANNER", "A3 Flatbed Scanner"), "");
    EXPECT_EQ(MainWindowTitle("Solennex", "A3"), "");
}

TEST(MainWindowPlace, RightEdgeAtTheMiddleOfTheScreenAndNeverOffIt) {
    const WindowPlace p = MainWindowPlace(1280, 1024, 466, 409);
    EXPECT_EQ(p.left, 640 - 466);
    EXPECT_EQ(p.top, 512 - 409);
    const WindowPlace small = MainWindowPlace(640, 480, 466, 409);
    EXPECT_EQ(small.left, 5);  // 320 - 466 would start left of the screen
    EXPECT_EQ(small.top, 5);
    EXPECT_EQ(MainWindowPlace(800, 600, 400, 300).top, 5);  // exactly 0 is moved as well
}

TEST(ResetWindowSettings, RestoresTheScanParametersAndKeepsTheUsersRegionAndUnit) {
    ScanSettings s;
    s.ScanMode = kModeLineArt;
    s.ScanSource = 2;
    s.ScanRes = 1200;
    s.Destination = kDestinationHalftone;
    s.QualityFactor = 25;
    s.Scaling = 400;
    s.FilterMode = 7;
    s.UnitFlag = kUnitMm;
    s.CustomRes[0] = 450;
    s.Frame[2] = 300;
    s.Enhancement.channel[kMaster] = ChannelAdjust{200, 30, 22, 0};
    s.Enhancement.channel[kGreen].gamma = 5;
    ResetWindowSettings(s, false);
    EXPECT_EQ(s.ScanMode, kModeColor);
    EXPECT_EQ(s.ScanSubMode, kSubMode24Bit);
    EXPECT_EQ(s.ScanSource, 0);
    EXPECT_EQ(s.ScanRes, 300);
    EXPECT_EQ(s.Destination, kDestinationMonitor);
    EXPECT_EQ(s.QualityFactor, 10);
    EXPECT_EQ(s.Scaling, 100);
    EXPECT_EQ(s.FilterMode, 0);
    EXPECT_EQ(s.Enhancement.channel[kMaster].highlight, 255);
    EXPECT_EQ(s.Enhancement.channel[kMaster].shadow, 0);
    EXPECT_EQ(s.Enhancement.channel[kMaster].gamma, 10);
    EXPECT_EQ(s.Enhancement.channel[kGreen].gamma, 18);
    EXPECT_EQ(s.UnitFlag, kUnitMm);
    EXPECT_EQ(s.CustomRes[0], 450);
    EXPECT_EQ(s.Frame[2], 300);
    ResetWindowSettings(s, true);  // the colour-management program keeps every curve straight
    EXPECT_EQ(s.Enhancement.channel[kRed].gamma, 10);
}

TEST(AboutPageTexts, BrandedAndPlainLines) {
    AboutFacts f{"Solenne", "A3 Flatbed Scanner", "V1.0", "1050", "Twain ", "Firmware V", "Maker"};
    AboutTexts t = AboutPageTexts(f);
    EXPECT_EQ(t.model, "Solenne A3 Flatbed Scanner");
    EXPECT_EQ(t.version, "Solenne A3 Flatbed Scanner Twain V1.0");
    EXPECT_EQ(t.firmware, "Firmware V1050");
    EXPECT_EQ(t.maker, "Maker");
    f.brand = "SCANNER";
    t = AboutPageTexts(f);
    EXPECT_EQ(t.model, "A3 Flatbed Scanner");
    EXPECT_EQ(t.version, "A3 Flatbed Scanner Twain V1.0");
    EXPECT_EQ(t.maker, "");
}

TEST(PreviewGeometry, TheBedAtThePreviewDensityAndOnAShortScreen) {
    const PreviewSize low = PreviewAreaSize(11.7, 17.0, 30, 1024);
    EXPECT_EQ(low.width, 351);
    EXPECT_EQ(low.height, 510);
    const PreviewSize high = PreviewAreaSize(11.7, 17.0, 60, 1200);
    EXPECT_EQ(high.width, 702);
    EXPECT_EQ(high.height, 1020);
    // The bed as the scanner reports it, in single precision, gives the same preview.
    EXPECT_EQ(PreviewAreaSize(BedInches(11.7f), BedInches(17.0f), 30, 1024).width, 351);
    // A 480-line screen: 8/10 of its height, the bed's proportion kept.
    const PreviewSize shortScreen = PreviewAreaSize(11.7, 17.0, 30, 480);
    EXPECT_EQ(shortScreen.height, 384);
    EXPECT_EQ(shortScreen.width, 264);
}

// Physical invariants through the whole chain: the bed spans the client, a region of
// 8.5 x 11 inches drawn on it gives 2550 x 3300 pixels at 300 dpi and a scan area of
// 8.5 x 11 inches in the scanner's units.
TEST(PreviewGeometry, ARegionInPreviewPixelsIsTheSameInchesInSizeAndScanArea) {
    const PreviewRect client{0, 0, 351, 510};
    SizeContext context;
    context.opticalResolution = 1200;
    PreviewScale(11.7, 17.0, client, context);
    EXPECT_DOUBLE_EQ(context.inchesPerPixelX * 351, 11.7);
    EXPECT_DOUBLE_EQ(context.inchesPerPixelY * 510, 17.0);
    const uint16_t frame[4] = {255 + 30, 330 + 60, 30, 60};  // drawn bottom-right to top-left
    const PreviewRect region = RegionOfFrame(frame, client);
    EXPECT_EQ(region.left, 30);
    EXPECT_EQ(region.bottom, 390);
    ScanSettings s;
    ImageSize size;
    ASSERT_TRUE(ComputeImageSize(s, context, region, client, size));
    EXPECT_EQ(size.pixelWidth, 2550u);
    EXPECT_EQ(size.pixelLength, 3300u);
    const ScanArea area = AreaForScan(RegionForScan(region, client), client, context);
    const double scale = WindowScale(1200);
    EXPECT_NEAR((area.right - area.left) / scale, 8.5, 1.0 / scale);
    EXPECT_NEAR((area.bottom - area.top) / scale, 11.0, 1.0 / scale);
}

TEST(PreviewGeometry, AStoredFrameOutsideTheClientIsKeptInsideAndWrittenBackAsIs) {
    const PreviewRect client{0, 0, 351, 510};
    const uint16_t frame[4] = {300, 400, 900, 800};
    const PreviewRect region = RegionOfFrame(frame, client);
    EXPECT_EQ(region.right, 351);
    EXPECT_EQ(region.bottom, 510);
    uint16_t back[4];
    FrameOfRegion(region, back);
    EXPECT_EQ(back[0], 300);
    EXPECT_EQ(back[3], 510);
    FrameOfRegion(PreviewRect{-5, 10, 70000, 20}, back);
    EXPECT_EQ(back[0], 0);
    EXPECT_EQ(back[2], 65535);
}
