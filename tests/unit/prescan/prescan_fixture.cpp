#include "tests/unit/prescan/prescan_fixture.h"

#include <filesystem>

#include "engine/level_correction.h"
#include "platform/host/host_control.h"
#include "prescan/prescan_ui.h"
#include "prescan/run_prescan.h"

std::vector<std::string> PrescanTest::uiEvents;

namespace {

constexpr uint32_t kKeptBytes = 4096;

void RecordWarmUp(plat::WindowHandle, int id, uint16_t language) {
    PrescanTest::uiEvents.push_back("warm-up " + std::to_string(id) + " " + std::to_string(language));
}
void RecordWarmUpClosed() { PrescanTest::uiEvents.push_back("warm-up closed"); }
void RecordNotReady(int id, uint16_t language) {
    PrescanTest::uiEvents.push_back("not ready " + std::to_string(id) + " " + std::to_string(language));
}
void RecordNotReadyClosed() { PrescanTest::uiEvents.push_back("not ready closed"); }
void RecordCursor(bool wait) { PrescanTest::uiEvents.push_back(wait ? "cursor wait" : "cursor arrow"); }

}  // namespace

void PrescanTest::SetUp() {
    SourceTest::SetUp();
    uiEvents.clear();
    ThePrescanUi = PrescanUi{RecordWarmUp, RecordWarmUpClosed, RecordNotReady, RecordNotReadyClosed,
                             RecordCursor};
    const auto dir = windowsDir / "TWAIN_32" / "KVTC_A3";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(KV_SIMULATOR_PORTLIB, dir / "QASPI_SP.DLL",
                               std::filesystem::copy_options::overwrite_existing);
    for (auto& table : conversion) {
        table.resize(kLevelCorrectionEntries);
        for (int i = 0; i < kLevelCorrectionEntries; ++i)
            table[i] = LevelCorrectionEntry(kSimulatorCalibration, i);
    }
    // The kept coefficients' memory in four entries, as the data source divides it.
    keptHigh.assign(kKeptBytes, 0);
    keptLow.assign(kKeptBytes, 0);
    store = PrescanShadingStore{};
    store.forceCalibration = 1;
    for (int c = 0; c < 3; ++c) store.conversion[c] = conversion[c].data();
    for (int e = 0; e < 4; ++e) {
        store.high[e].size = store.low[e].size = kKeptBytes / 4;
        store.high[e].address = keptHigh.data() + e * kKeptBytes / 4;
        store.low[e].address = keptLow.data() + e * kKeptBytes / 4;
    }
}

void PrescanTest::TearDown() {
    ThePrescanUi = PrescanUi{};
    SourceTest::TearDown();
}

void PrescanTest::Simulate(const char* key, const std::string& value) {
    SetProfile("Scanner Simulator", key, value);
}

PrescanCall PrescanTest::Call() {
    PrescanCall call;
    call.owner = reinterpret_cast<plat::WindowHandle>(0x5150);
    call.store = &store;
    return call;
}

PreScanResult PrescanTest::Prescan(const PrescanCall& call) { return RunPrescan(call); }

std::string PrescanTest::BitmapPath() const {
    return (windowsDir / "TWAIN_32" / "KVTC_A3" / "PVWC0000.BMP").string();
}

bool PrescanTest::BitmapExists() const { return std::filesystem::exists(BitmapPath()); }

DecodedImage PrescanTest::Bitmap() const { return ReadBmp(BitmapPath()); }

ReferenceImage PrescanTest::Reference(uint16_t resolution, float lengthInches,
                                      uint16_t opticalResolution) const {
    const float scale = opticalResolution == 600 ? 600.0f : opticalResolution == 800 ? 800.0f : 1200.0f;
    ReferenceRequest request;
    request.window.xStart = request.window.yStart = 0;
    request.window.xEnd = static_cast<uint16_t>(11.7f * scale);
    request.window.yEnd = static_cast<uint16_t>(lengthInches * scale);
    request.window.colourType = kColourTypeColour;
    request.window.resolution = resolution;
    request.window.fromDataSource = false;
    SimulatorConfig config;
    config.profile.opticalResolution = opticalResolution;
    ReferenceImage image;
    std::string error;
    EXPECT_TRUE(RenderReference(config, request, image, error)) << error;
    return image;
}

std::vector<std::string> PrescanTest::MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& box : plat::host::MessageBoxes()) out.push_back(box.text);
    return out;
}

std::vector<std::string> PrescanTest::MessageCaptions() const {
    std::vector<std::string> out;
    for (const auto& box : plat::host::MessageBoxes()) out.push_back(box.caption);
    return out;
}

std::vector<uint8_t> RowsOf(const DecodedImage& image, uint32_t first, uint32_t count) {
    const auto begin = image.rows.begin() + size_t(first) * image.bytesPerLine;
    return std::vector<uint8_t>(begin, begin + size_t(count) * image.bytesPerLine);
}
