// Whole scans in the calling order, compared byte for byte with the reference render.
#include <gtest/gtest.h>

#include <algorithm>

#include "simulator/device/reference.h"
#include "tests/unit/simulator/sim_fixture.h"

namespace {

std::vector<uint8_t> Reference(const SimulatorConfig& config, const ScanWindow& w,
                               ShadingUse shading = ShadingUse::Correct) {
    ReferenceImage ref;
    std::string error;
    EXPECT_TRUE(RenderScannerLines(config, {w, nullptr}, shading, ref, error)) << error;
    return ref.data;
}

const uint8_t kModes[] = {kColourTypeLineArt, kColourTypeFastGray, kColourTypeGray,
                          kColourTypeColour, kColourTypeColour36};

TEST(SimulatorScan, EveryModeAndModelDeliversTheReferenceImage) {
    for (const char* model : {"600", "606", "800", "1200"}) {
        const SimulatorConfig config = ConfigFrom({{"Model", model}});
        for (uint8_t mode : kModes) {
            SimulatedScanner s(config);
            // Patches, gray steps and fine lines, at a resolution that is not a divisor.
            const ScanWindow w = WindowInches(config.profile, 0.25, 2.4, 3.9, 5.6, 145, mode);
            ASSERT_TRUE(RunScan(s.caller, w)) << model << " mode " << int(mode) << " failed at code "
                                              << s.caller.failedCode;
            EXPECT_EQ(s.caller.image, Reference(config, w)) << model << " mode " << int(mode);
        }
    }
}

TEST(SimulatorScan, PrescanOfTheWholeWideBedPlansTheBedLengthAndMatches) {
    for (uint16_t dpi : {30, 60}) {
        SimulatedScanner s;
        s.caller.prescanReading = true;
        ScanWindow w = WindowInches(s.device.config.profile, 0, 0, 11.7, 17.0, dpi, kColourTypeColour);
        w.fromDataSource = false;
        ASSERT_TRUE(RunScan(s.caller, w));
        EXPECT_EQ(s.caller.lines, 17 * dpi);
        EXPECT_EQ(s.caller.image, Reference(s.device.config, w));
    }
}

TEST(SimulatorScan, SmallBuffersReadInManyBandsWithoutChangingTheImage) {
    SimulatedScanner s;
    s.caller.maxBufferBytes = 3 * 600 * 3;  // three lines of 600 colour pixels
    const ScanWindow w = WindowInches(s.device.config.profile, 1, 7.2, 3, 9.4, 300, kColourTypeColour);
    ASSERT_TRUE(RunScan(s.caller, w));
    EXPECT_EQ(s.caller.readRequests, (s.caller.lines + 2) / 3);
    EXPECT_EQ(s.caller.image, Reference(s.device.config, w));
}

// A uniform mid-gray block: every column of a row must read the same.
uint32_t ColumnSpread(const std::vector<uint8_t>& image, uint32_t bytesPerLine, uint32_t line) {
    const auto row = image.begin() + size_t(line) * bytesPerLine;
    const auto [lo, hi] = std::minmax_element(row, row + bytesPerLine);
    return *hi - *lo;
}

TEST(SimulatorScan, OnlyCorrectShadingRemovesColumnBanding) {
    const SimulatorConfig config;
    const ScanWindow w = WindowInches(config.profile, 0.5, 11.6, 3.8, 11.8, 300, kColourTypeFastGray);
    ReferenceImage probe;
    std::string error;
    ASSERT_TRUE(RenderScannerLines(config, {w, nullptr}, ShadingUse::Correct, probe, error));
    const uint32_t bpl = probe.bytesPerLine;
    EXPECT_EQ(ColumnSpread(Reference(config, w), bpl, 10), 0u);
    EXPECT_GE(ColumnSpread(Reference(config, w, ShadingUse::None), bpl, 10), 10u);

    // The device with the caller's own calibration gives the flat row too.
    SimulatedScanner s(config);
    ASSERT_TRUE(RunScan(s.caller, w));
    EXPECT_EQ(ColumnSpread(s.caller.image, bpl, 10), 0u);
}

TEST(SimulatorScan, UnshadedScanIsTheUncorrectedRender) {
    const SimulatorConfig config;
    SimulatedScanner s(config);
    const ScanWindow w = WindowInches(config.profile, 0.5, 0.4, 4.5, 1.0, 200, kColourTypeColour);
    // Calibrate nothing: the set-up is followed directly by tones, start and reads.
    SetParametersBlock setup{};
    setup.xStart = w.xStart, setup.yStart = w.yStart, setup.xEnd = w.xEnd, setup.yEnd = w.yEnd;
    setup.fromDataSource = 1, setup.colourType = w.colourType, setup.resolution = w.resolution;
    ASSERT_EQ(s.Issue(setup, ScanRequestSetParameters), 0);
    StartScanBlock start{};
    ASSERT_EQ(s.Issue(start, ScanRequestStartScan), 0);
    std::vector<uint8_t> image(size_t(start.lines) * start.bytesPerLine);
    ScanBufferTable table = {};
    const uint16_t entries = DivideBuffer(image.data(), uint32_t(image.size()), table, start.bytesPerLine);
    ReadDataBlock read{};
    read.bytesPerLine = start.bytesPerLine, read.lines = start.lines;
    read.bytes = uint32_t(image.size()), read.entryCount = entries, read.table = table;
    ASSERT_EQ(s.Issue(read, ScanRequestReadData), 0);
    EXPECT_EQ(image, Reference(config, w, ShadingUse::None));
}

TEST(SimulatorScan, RepeatedSettingsAskOnlyForTheStoredCoefficients) {
    SimulatedScanner s;
    const ScanWindow w = WindowInches(s.device.config.profile, 1, 2.4, 4, 4.1, 100, kColourTypeColour);
    ASSERT_TRUE(RunScan(s.caller, w));
    EXPECT_EQ(s.caller.shadingNeeded, 1);
    EXPECT_EQ(s.caller.shadingKind, kShadingKindThree);
    ASSERT_TRUE(RunScan(s.caller, w));  // re-sends what it stored
    EXPECT_EQ(s.caller.shadingNeeded, 0);
    EXPECT_EQ(s.caller.image, Reference(s.device.config, w));

    ScanWindow other = w;
    other.colourType = kColourTypeFastGray;
    ASSERT_TRUE(RunScan(s.caller, other));
    EXPECT_EQ(s.caller.shadingNeeded, 1);
    EXPECT_EQ(s.caller.shadingKind, kShadingKindSingle);

    ScanWindow prescan = w;
    prescan.fromDataSource = false;
    s.caller.prescanReading = true;
    ASSERT_TRUE(RunScan(s.caller, prescan));
    ASSERT_TRUE(RunScan(s.caller, prescan));
    EXPECT_EQ(s.caller.shadingNeeded, 1);  // the prescan library keeps no coefficients
}

TEST(SimulatorScan, FilmSourcesShowTheFrameInItsHolder) {
    for (uint8_t source : {1, 2}) {
        const SimulatorConfig config = ConfigFrom({{"Transparency", "1"}});
        SimulatedScanner s(config);
        ScanWindow w = WindowInches(config.profile, 3.0, 0.5, 9.0, 7.5, 50, kColourTypeColour);
        w.source = source;
        ASSERT_TRUE(RunScan(s.caller, w));
        EXPECT_EQ(s.caller.image, Reference(config, w));
        // The holder is opaque: the first line lies above the frame.
        EXPECT_TRUE(std::all_of(s.caller.image.begin(), s.caller.image.begin() + s.caller.bytesPerLine,
                                [](uint8_t v) { return v == 0; }));
    }
}

}  // namespace
