#include "tests/unit/acquisition/transfer_fixture.h"

#include <cstring>
#include <filesystem>

#include "link/request_blocks_in_use.h"
#include "platform/host/host_control.h"
#include "session/ui_hooks.h"
#include "tests/unit/acquisition/window_scan.h"
#include "twain/capability_tables.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

std::vector<uint32_t> TransferTest::progressMessages;

namespace {

TW_FIX32 Inches(double value) {
    const int32_t fixed = static_cast<int32_t>(value * 65536.0 + 0.5);
    return TW_FIX32{static_cast<TW_INT16>(fixed >> 16), static_cast<TW_UINT16>(fixed & 0xFFFF)};
}

void* FakeWindow() {
    static int window;
    return &window;
}

void RecordProgress(uint32_t, uint32_t, uint32_t messageId) {
    TransferTest::progressMessages.push_back(messageId);
}

}  // namespace

void TransferTest::SetUp() {
    OpenTest::SetUp();
    progressMessages.clear();
    TheUi.CreateScanningWindow = FakeWindow;
    TheUi.UpdateProgress = RecordProgress;
    ResetFileFormatTable();
}

void TransferTest::SetFrame(double left, double top, double right, double bottom) {
    TW_IMAGELAYOUT layout{};
    layout.Frame = {Inches(left), Inches(top), Inches(right), Inches(bottom)};
    ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_SUCCESS);
}

TW_UINT16 TransferTest::ScanWithoutWindow(TW_UINT8 pixelTypeIndex, TW_UINT8 resolutionIndex) {
    TheNegotiation.PixelTypeIndex = pixelTypeIndex;
    TheNegotiation.ResolutionIndex = resolutionIndex;
    TW_USERINTERFACE ui{0, 0, nullptr};
    return DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
}

bool TransferTest::ScanFromWindow(uint16_t mode, uint16_t subMode, uint16_t resolution,
                                  double left, double top, double right, double bottom) {
    TW_USERINTERFACE ui{1, 0, nullptr};
    if (DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS)
        return false;
    return RunWindowScan(mode, subMode, resolution, left, top, right, bottom);
}

bool TransferTest::ScanFromWindowWith(const std::function<void(ScanSettings&)>& choose,
                                      TW_UINT8 mechanism, double left, double top, double right,
                                      double bottom, TW_UINT16 fileFormat) {
    TheNegotiation.XferMechIndex = mechanism;
    TheNegotiation.FileFormatIndex = fileFormat == TWFF_BMP ? 2 : 0;
    TW_USERINTERFACE ui{1, 0, nullptr};
    if (DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS)
        return false;
    return RunWindowScanWith(choose, left, top, right, bottom);
}

ReferenceImage TransferTest::Reference(uint16_t opticalResolution) {
    const SetParametersBlock& set = TheRequests.setParameters;
    ReferenceRequest request;
    request.window.xStart = set.xStart;
    request.window.yStart = set.yStart;
    request.window.xEnd = set.xEnd;
    request.window.yEnd = set.yEnd;
    request.window.source = set.source;
    request.window.colourType = set.colourType;
    request.window.resolution = set.resolution;
    static ToneState tones;
    const SendGammaBlock& gamma = TheRequests.sendGamma;
    tones.entries = gamma.slots[0].entries;
    for (size_t i = 0; i < kToneSlots; ++i)
        std::memcpy(tones.slots[i], gamma.slots[i].table, sizeof tones.slots[i]);
    tones.threshold = gamma.threshold;
    request.tones = &tones;
    ReferenceImage image;
    std::string error;
    SimulatorConfig config;
    config.profile.opticalResolution = opticalResolution;
    EXPECT_TRUE(RenderReference(config, request, image, error)) << error;
    return image;
}

TW_UINT16 TransferTest::EndTransfer() {
    TW_PENDINGXFERS pending{};
    return DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
}

void TransferTest::FinishPage() {
    ASSERT_EQ(EndTransfer(), TWRC_SUCCESS);
    TW_USERINTERFACE ui{0, 0, nullptr};
    ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
}

bool TransferTest::CloseRequested() const {
    for (const auto& n : plat::host::Notifications())
        if (n.msg == MSG_CLOSEDSREQ) return true;
    return false;
}

std::vector<std::string> TransferTest::TempFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(windowsDir / "temp"))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string TransferTest::WorkingPath() const {
    return TheNegotiation.DefaultFileSetup.FileName;
}
