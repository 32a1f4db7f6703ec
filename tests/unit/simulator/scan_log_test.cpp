// The scan log: what the scanner accepted, replayed outside the caller's process, must say
// which window and tone tables every scan had, so that the reference render of a logged scan
// is exactly what the caller received.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

#include "simulator/device/reference.h"
#include "simulator/device/scan_log.h"
#include "tests/unit/simulator/sim_fixture.h"

namespace {

std::string FreshPath(const char* name) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kv_scan_log_" + std::to_string(getpid()) + "_" + name);
    std::filesystem::remove(path);
    return path.string();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void SameWindow(const ScanWindow& a, const ScanWindow& b) {
    EXPECT_EQ(a.xStart, b.xStart);
    EXPECT_EQ(a.yStart, b.yStart);
    EXPECT_EQ(a.xEnd, b.xEnd);
    EXPECT_EQ(a.yEnd, b.yEnd);
    EXPECT_EQ(a.colourType, b.colourType);
    EXPECT_EQ(a.resolution, b.resolution);
    EXPECT_EQ(a.source, b.source);
    EXPECT_EQ(a.fromDataSource, b.fromDataSource);
}

std::vector<uint8_t> Render(const SimulatorConfig& config, const LoggedScan& scan) {
    ReferenceImage image;
    std::string error;
    EXPECT_TRUE(RenderReference(config, {scan.window, &scan.tones}, image, error)) << error;
    return image.data;
}

TEST(ScanLog, ReplayGivesEveryScanItsWindowAndTonesAndRendersWhatWasDelivered) {
    SimulatorConfig config;
    config.scanLog = FreshPath("two_scans");
    SimulatedScanner s(config);

    // Neither a lamp-saver set-up nor refused requests belong to any scan.
    SetParametersBlock lampOnly{};
    lampOnly.lampSaverOnly = 1;
    lampOnly.lampSaverMinutes = 30;
    ASSERT_EQ(s.Issue(lampOnly, ScanRequestSetParameters), kScanStatusOk);
    SetParametersBlock refused{};
    refused.colourType = 4;
    ASSERT_NE(s.Issue(refused, ScanRequestSetParameters), kScanStatusOk);
    auto badTones = std::make_unique<SendGammaBlock>();
    std::memset(badTones.get(), 0, sizeof(SendGammaBlock));
    badTones->selector = 0x20;
    ASSERT_NE(s.Issue(*badTones, ScanRequestSendGamma), kScanStatusOk);

    ToneState inverse;
    ResetTones(inverse, 4096);
    for (auto& slot : inverse.slots)
        for (int i = 0; i < 4096; ++i) slot[i] = uint8_t(255 - (i >> 4));
    inverse.threshold = 90;
    const ScanWindow colour = WindowInches(config.profile, 1.0, 1.0, 2.5, 2.0, 150, kColourTypeColour);
    ASSERT_TRUE(RunScan(s.caller, colour, &inverse));
    const std::vector<uint8_t> colourImage = s.caller.image;
    // Line art loads only the gray slot: the colour slots keep the inverse curves.
    const ScanWindow lineArt = WindowInches(config.profile, 0.5, 0.5, 2.0, 1.2, 200, kColourTypeLineArt);
    ASSERT_TRUE(RunScan(s.caller, lineArt));

    std::vector<LoggedScan> scans;
    std::string error;
    const std::vector<uint8_t> log = ReadBytes(config.scanLog);
    ASSERT_TRUE(ReplayScanLog(log.data(), log.size(), config.profile, scans, error)) << error;
    ASSERT_EQ(scans.size(), 2u);
    SameWindow(scans[0].window, colour);
    SameWindow(scans[1].window, lineArt);
    EXPECT_EQ(scans[1].lines, s.caller.lines);
    EXPECT_EQ(scans[1].bytesPerLine, s.caller.bytesPerLine);
    EXPECT_EQ(scans[0].tones.threshold, 90);
    EXPECT_EQ(scans[1].tones.threshold, 127);
    EXPECT_EQ(std::memcmp(scans[1].tones.slots[3], inverse.slots[3], 4096), 0);
    EXPECT_EQ(scans[1].tones.slots[0][4095], 255);

    EXPECT_TRUE(Render(config, scans[0]) == colourImage);
    EXPECT_TRUE(Render(config, scans[1]) == s.caller.image);
    std::filesystem::remove(config.scanLog);
}

// On this little-endian host a block's memory image is its layout, byte for byte.
TEST(ScanLog, BlocksAreWrittenInTheirLayoutAndReadBack) {
    static_assert(std::endian::native == std::endian::little);
    auto pattern = [](void* block, size_t bytes) {
        auto* p = static_cast<uint8_t*>(block);
        for (size_t i = 0; i < bytes; ++i) p[i] = uint8_t(i * 7 + 1);
    };
    SetParametersBlock setup, setupBack;
    pattern(&setup, sizeof setup);
    uint8_t setupBytes[32];
    EncodeSetParameters(setup, setupBytes);
    EXPECT_EQ(std::memcmp(setupBytes, &setup, 32), 0);
    DecodeSetParameters(setupBytes, setupBack);
    EXPECT_EQ(std::memcmp(&setupBack, &setup, 32), 0);

    auto gamma = std::make_unique<SendGammaBlock>(), gammaBack = std::make_unique<SendGammaBlock>();
    pattern(gamma.get(), sizeof(SendGammaBlock));
    std::vector<uint8_t> gammaBytes(sizeof(SendGammaBlock));
    EncodeSendGamma(*gamma, gammaBytes.data());
    EXPECT_EQ(std::memcmp(gammaBytes.data(), gamma.get(), gammaBytes.size()), 0);
    DecodeSendGamma(gammaBytes.data(), *gammaBack);
    EXPECT_EQ(std::memcmp(gammaBack.get(), gamma.get(), gammaBytes.size()), 0);

    StartScanBlock start, startBack;
    pattern(&start, sizeof start);
    uint8_t startBytes[16];
    EncodeStartScan(start, startBytes);
    EXPECT_EQ(std::memcmp(startBytes, &start, 16), 0);
    DecodeStartScan(startBytes, startBack);
    EXPECT_EQ(std::memcmp(&startBack, &start, 16), 0);

    const std::vector<uint8_t> record = ScanLogRecord(ScanRequestStartScan, &start);
    ASSERT_EQ(record.size(), kScanLogRecordHead + 16);
    EXPECT_EQ(record[0], ScanRequestStartScan);
    EXPECT_EQ(record[1] | record[2] << 8 | record[3] << 16 | record[4] << 24, 16);
    EXPECT_EQ(std::memcmp(record.data() + kScanLogRecordHead, startBytes, 16), 0);
    ReadDataBlock read{};
    EXPECT_TRUE(ScanLogRecord(ScanRequestReadData, &read).empty());
}

std::vector<uint8_t> Record(uint32_t code, const void* block) { return ScanLogRecord(code, block); }

TEST(ScanLog, DamagedLogsAreRefused) {
    SetParametersBlock setup{};
    setup.xEnd = setup.yEnd = 600;
    setup.colourType = kColourTypeGray;
    setup.resolution = 100;
    setup.fromDataSource = 1;
    StartScanBlock start{};
    auto appended = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<uint8_t> good =
        appended(Record(ScanRequestSetParameters, &setup), Record(ScanRequestStartScan, &start));
    std::vector<LoggedScan> scans;
    std::string error;
    ASSERT_TRUE(ReplayScanLog(good.data(), good.size(), ScannerProfile{}, scans, error)) << error;
    EXPECT_EQ(scans.size(), 1u);
    EXPECT_TRUE(ReplayScanLog(good.data(), 0, ScannerProfile{}, scans, error));
    EXPECT_TRUE(scans.empty());

    EXPECT_FALSE(ReplayScanLog(good.data(), good.size() - 1, ScannerProfile{}, scans, error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    EXPECT_FALSE(ReplayScanLog(good.data(), 3, ScannerProfile{}, scans, error));
    std::vector<uint8_t> bad = good;
    bad[0] = ScanRequestReadData;
    EXPECT_FALSE(ReplayScanLog(bad.data(), bad.size(), ScannerProfile{}, scans, error));
    bad = good;
    bad[1] = 31;  // a set-up record that claims 31 bytes
    EXPECT_FALSE(ReplayScanLog(bad.data(), bad.size(), ScannerProfile{}, scans, error));
    const std::vector<uint8_t> startOnly = Record(ScanRequestStartScan, &start);
    EXPECT_FALSE(ReplayScanLog(startOnly.data(), startOnly.size(), ScannerProfile{}, scans, error));
    EXPECT_NE(error.find("before any set-up"), std::string::npos) << error;

    // 256-entry tables were never accepted by the 1200 dpi model.
    auto gamma = std::make_unique<SendGammaBlock>();
    std::memset(gamma.get(), 0, sizeof(SendGammaBlock));
    gamma->selector = kToneSelectGray;
    for (auto& slot : gamma->slots) slot.entries = 256;
    const std::vector<uint8_t> tones = Record(ScanRequestSendGamma, gamma.get());
    EXPECT_FALSE(ReplayScanLog(tones.data(), tones.size(), ScannerProfile{}, scans, error));
    ScannerProfile model600;
    model600.opticalResolution = 600;
    EXPECT_TRUE(ReplayScanLog(tones.data(), tones.size(), model600, scans, error)) << error;
}

TEST(ScanLog, AnUnwritableLogLeavesTheScannerWorking) {
    SimulatorConfig config;
    config.scanLog = FreshPath("no_such_folder") + "/log";
    SimulatedScanner s(config);
    const ScanWindow w = WindowInches(config.profile, 1.0, 1.0, 1.5, 1.5, 100, kColourTypeGray);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(RunScan(s.caller, w));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
}

}  // namespace
