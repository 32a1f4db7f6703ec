// render_reference's pieces: the simulator keys read from a WIN.INI as the profile functions
// read them, the reference image as PNM, and a whole job from a log the scanner wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "simulator/device/pnm_image.h"
#include "simulator/tools/ini_section.h"
#include "simulator/tools/pnm_output.h"
#include "simulator/tools/reference_job.h"
#include "tests/unit/simulator/sim_fixture.h"

namespace {

TEST(ReferenceTool, IniSectionIsReadLikeTheProfileFunctionsReadIt) {
    const IniKeys keys = ParseIniSection(
        "[mail]\r\nmapi=1\r\n[scanner SIMULATOR]\r\n  Model = 800 \r\n;Bed=narrow\r\n"
        "model=600\r\nSeed=\r\nnot a key\r\n[Other]\r\nBed=narrow\r\n",
        kSimulatorSection);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys.at("MODEL"), "800");  // the first of repeated keys, whatever the case
    EXPECT_EQ(keys.at("seed"), "");
    EXPECT_EQ(keys.count("Bed"), 0u);
    EXPECT_EQ(keys.count("mapi"), 0u);
}

ReferenceImage Image(uint8_t colourType, uint32_t pixels, uint32_t lines,
                     std::vector<uint8_t> data) {
    ReferenceImage image;
    image.colourType = colourType;
    image.pixels = pixels;
    image.lines = lines;
    image.bytesPerLine = uint32_t(data.size() / lines);
    image.data = std::move(data);
    return image;
}

TEST(ReferenceTool, PnmHasEveryModeInTheFormReadersExpect) {
    // Line art: the scanner's 1 is white, PBM's 1 is black.
    EXPECT_EQ(PnmBytes(Image(kColourTypeLineArt, 16, 1, {0xF0, 0x01})), "P4\n16 1\n\x0F\xFE");

    PnmImage read;
    std::string error;
    const std::string gray = PnmBytes(Image(kColourTypeFastGray, 3, 2, {0, 1, 2, 250, 251, 252}));
    ASSERT_TRUE(ParsePnm(reinterpret_cast<const uint8_t*>(gray.data()), gray.size(), read, error));
    EXPECT_EQ(read.channels, 1u);
    EXPECT_EQ(read.width, 3u);
    EXPECT_EQ(read.samples, (std::vector<uint8_t>{0, 1, 2, 250, 251, 252}));

    const std::string colour = PnmBytes(Image(kColourTypeColour, 2, 1, {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(ParsePnm(reinterpret_cast<const uint8_t*>(colour.data()), colour.size(), read, error));
    EXPECT_EQ(read.channels, 3u);
    EXPECT_EQ(read.samples, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));

    // 36-bit samples arrive little-endian; PNM keeps 16-bit samples big-endian.
    const std::string deep = PnmBytes(Image(kColourTypeColour36, 1, 1, {0x10, 0xFF, 0, 0x80, 1, 0}));
    ASSERT_TRUE(ParsePnm(reinterpret_cast<const uint8_t*>(deep.data()), deep.size(), read, error));
    EXPECT_EQ(read.maxValue, 65535u);
    EXPECT_EQ(read.samples, (std::vector<uint8_t>{0xFF, 0x10, 0x80, 0, 0, 1}));
}

class ReferenceJobTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kv_reference_job_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static std::string ReadText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

TEST_F(ReferenceJobTest, RendersTheChosenLoggedScanOfTheConfiguredScanner) {
    const std::string log = Path("scan.log"), ini = Path("win.ini");
    std::ofstream(ini) << "[Scanner Simulator]\nModel=800\nBed=narrow\nSeed=7\nScanLog=" << log << "\n";
    const SimulatorConfig config = ConfigFrom({{"Model", "800"}, {"Bed", "narrow"}, {"Seed", "7"},
                                               {"ScanLog", log}});
    SimulatedScanner s(config);
    ASSERT_TRUE(RunScan(s.caller, WindowInches(config.profile, 1, 1, 2.2, 1.9, 120, kColourTypeGray)));
    const std::vector<uint8_t> grayImage = s.caller.image;
    ASSERT_TRUE(RunScan(s.caller, WindowInches(config.profile, 2, 3, 3.1, 4, 150, kColourTypeColour)));

    ReferenceJob job{ini, log, Path("last.pnm"), -1};
    std::vector<std::string> summary;
    std::string error;
    ASSERT_TRUE(RunReferenceJob(job, summary, error)) << error;
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0].rfind("scan 2 of 2: colour type 3, 165 x 150 pixels at 150 dpi", 0), 0u)
        << summary[0];
    EXPECT_EQ(ReadText(job.outPath), "P6\n165 150\n255\n" +
                                         std::string(s.caller.image.begin(), s.caller.image.end()));

    job.scan = 1;
    job.outPath = Path("first.pnm");
    ASSERT_TRUE(RunReferenceJob(job, summary, error)) << error;
    EXPECT_EQ(ReadText(job.outPath), "P5\n144 108\n255\n" +
                                         std::string(grayImage.begin(), grayImage.end()));

    job.scan = 3;
    EXPECT_FALSE(RunReferenceJob(job, summary, error));
    EXPECT_EQ(error, "no scan 3 among the 2 logged");
    // Without the keys the tool would render for the default 1200 dpi scanner: the log's
    // windows, counted in 800ths of an inch, no longer give the logged geometry.
    job = ReferenceJob{"", log, Path("default.pnm"), -1};
    EXPECT_FALSE(RunReferenceJob(job, summary, error));
}

TEST(ReferenceTool, CommandLineNeedsTheLogAndTheOutput) {
    ReferenceJob job;
    std::string error;
    EXPECT_TRUE(ParseReferenceArgs({"--log", "a", "--out", "b", "--scan", "-2"}, job, error));
    EXPECT_EQ(job.scan, -2);
    EXPECT_FALSE(ParseReferenceArgs({"--log", "a"}, job, error));
    EXPECT_FALSE(ParseReferenceArgs({"--log", "a", "--out", "b", "--scan", "0"}, job, error));
    EXPECT_FALSE(ParseReferenceArgs({"--log", "a", "--out", "b", "--scan"}, job, error));
    EXPECT_FALSE(ParseReferenceArgs({"--log", "a", "--out", "b", "--size", "1"}, job, error));
}

}  // namespace
