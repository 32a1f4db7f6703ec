// Image files as originals: the parser refuses what it cannot trust, and a scan shows the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "simulator/device/pnm_image.h"
#include "simulator/device/reference.h"
#include "tests/unit/simulator/sim_fixture.h"

namespace {

bool Parses(const std::string& bytes) {
    PnmImage image;
    std::string error;
    return ParsePnm(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error);
}

TEST(SimulatorOriginal, ParserRefusesDamagedOrHostileFiles) {
    EXPECT_TRUE(Parses(std::string("P5\n# comment\n2 1\n255\n") + "\x10\x20"));
    EXPECT_FALSE(Parses(std::string("P5\n2 1\n255\n") + "\x10"));          // short
    EXPECT_FALSE(Parses(std::string("P3\n1 1\n255\n") + "1 2 3"));         // text form
    EXPECT_FALSE(Parses(std::string("P5\n0 1\n255\n")));                   // no pixels
    EXPECT_FALSE(Parses(std::string("P5\n1 1\n0\n") + "\x01"));            // no range
    EXPECT_FALSE(Parses(std::string("P6\n100000 100000\n65535\n") + "x"));  // too large
    EXPECT_FALSE(Parses(std::string("P5\n1 1\n255") + "\x01"));            // no separator
}

TEST(SimulatorOriginal, ScanOfAnImageFileShowsItsPixels) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("sim_original_" + std::to_string(::getpid()) + ".pgm")).string();
    const uint8_t pixels[4] = {0, 77, 200, 255};
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs("P5 2 2 255\n", f);
    std::fwrite(pixels, 1, 4, f);
    std::fclose(f);
    const SimulatorConfig config = ConfigFrom({{"Original", path}, {"OriginalDpi", "10"}});
    SimulatedScanner s(config);
    // 10 dpi over 0.3 x 0.3 in: the image's 2 x 2 pixels, then paper white.
    const ScanWindow w = WindowInches(config.profile, 0, 0, 0.3, 0.3, 10, kColourTypeFastGray);
    ASSERT_TRUE(RunScan(s.caller, w));
    std::filesystem::remove(path);
    const std::vector<uint8_t> expected = {0, 77, kPaperWhite >> 4, 200, 255, kPaperWhite >> 4,
                                           kPaperWhite >> 4, kPaperWhite >> 4, kPaperWhite >> 4};
    EXPECT_EQ(s.caller.image, expected);
}

TEST(SimulatorOriginal, ReferenceScalesThirtySixBitSamplesToSixteenBits) {
    const SimulatorConfig config;
    const ScanWindow w = WindowInches(config.profile, 0.3, 0.4, 1.3, 0.5, 100, kColourTypeColour36);
    ReferenceImage lines, delivered;
    std::string error;
    ASSERT_TRUE(RenderScannerLines(config, {w, nullptr}, ShadingUse::Correct, lines, error));
    ASSERT_TRUE(RenderReference(config, {w, nullptr}, delivered, error));
    ASSERT_EQ(lines.data.size(), delivered.data.size());
    for (size_t i = 0; i < lines.data.size(); i += 2) {
        const uint16_t s = uint16_t(lines.data[i] | (lines.data[i + 1] << 8));
        ASSERT_LE(s, 4095);
        ASSERT_EQ(delivered.data[i] | (delivered.data[i + 1] << 8), s * 16);
    }
}

}  // namespace
