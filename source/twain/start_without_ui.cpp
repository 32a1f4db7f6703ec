#include "twain/start_without_ui.h"

#include <cstring>

#include "engine/color_adjust.h"
#include "engine/scan_job_state.h"
#include "link/scanner_link.h"
#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "twain/announced_scan.h"
#include "twain/capability_kept.h"
#include "twain/capability_tables.h"
#include "twain/negotiation.h"
#include "twain/notify.h"
#include "twain/source_record.h"

namespace {

double Inches(const TW_FIX32& value) { return value.Whole + value.Frac / 65536.0; }

bool AppIs(const std::string& name) {
    return std::strncmp(TheSource.AppIdentity.ProductName, name.c_str(), 34) == 0;
}

// The window's settings that have no negotiated counterpart go back to neutral.
void ResetWindowOnlySettings(ScanSettings& s) {
    s.Scaling = 100;
    s.Destination = kDestinationMonitor;
    s.QualityFactor = 10;
    s.DeScreen = kDescreenNone;
    s.OutputMatch = 0;
    s.FilterMode = 0;
    s.DpiScale = 0;
    EnhancementRecord& e = s.Enhancement;
    e.CirclePos[0] = 216;
    e.CirclePos[1] = 177;
    std::memset(e.PixelRGB, 255, sizeof e.PixelRGB);
    e.Saturation = 0;
    std::memset(e.ColorBalance, 0, sizeof e.ColorBalance);
}

// Brightness and contrast travel in the highlight and shadow bytes as -127..127.
void CarryBrightnessContrast(EnhancementRecord& e) {
    const int8_t highlight = static_cast<int8_t>(TheNegotiation.Brightness * 127.0 / 1000.0);
    const int8_t shadow = static_cast<int8_t>(TheNegotiation.Contrast * 127.0 / 1000.0);
    for (ChannelAdjust& c : e.channel) {
        c.highlight = static_cast<uint8_t>(highlight);
        c.shadow = static_cast<uint8_t>(shadow);
    }
}

uint16_t ResolutionOfIndex(uint8_t index) {
    static const uint16_t kResolutions[] = {75, 100, 150, 200, 300, 400, 500, 600};
    if (index == 4 && (AppIs(LanguageString(55)) || AppIs(LanguageString(60)))) return 200;
    return index < 8 ? kResolutions[index] : 300;
}

uint16_t ModeOfPixelType(TW_UINT16 pixelType) {
    if (pixelType == TWPT_GRAY || pixelType == TWPT_PALETTE) return kModeGray;
    if (pixelType == TWPT_RGB) return kModeColor;
    return kModeLineArt;
}

void IdentityTones() {
    for (int i = 0; i < 256; ++i)
        TheToneColour.tones.red[i] = TheToneColour.tones.green[i] = TheToneColour.tones.blue[i] =
            static_cast<uint8_t>(i);
}

}  // namespace

// A frame counts when its right and bottom edges are not zero, fractions included: a frame
// ending at 0.75 inch is a frame.
ScanArea AreaWithoutWindow(const TW_FRAME& frame, uint16_t optical) {
    const double scale = WindowScale(optical);
    if (Inches(frame.Right) != 0 && Inches(frame.Bottom) != 0) {
        return {static_cast<int32_t>(Inches(frame.Left) * scale),
                static_cast<int32_t>(Inches(frame.Top) * scale),
                static_cast<int32_t>(Inches(frame.Right) * scale),
                static_cast<int32_t>(Inches(frame.Bottom) * scale)};
    }
    return {static_cast<int32_t>(scale * 0.6692913385826772), 0,
            static_cast<int32_t>(scale * 8.503937007874017),
            static_cast<int32_t>(scale * 11.614173228346457)};
}

void StartScanWithoutUI() {
    SettingsRecords& records = TheSettings;
    const char* section = ModelSectionName(TheLink.opticalResolution);
    LoadScanSettings(section ? section : "", {TheLink.optionInstalled, AppIs(LanguageString(707))},
                     records);
    ScanSettings& s = records.settings;
    ResetWindowOnlySettings(s);
    CarryBrightnessContrast(s.Enhancement);
    s.ScanRes = ResolutionOfIndex(TheNegotiation.ResolutionIndex);
    s.ScanSource = 0;
    if (TheKeptCapabilities.FeederEnabled) {
        s.ScanSource = 3;
        s.FilterMode = 2;  // feeder pages are always flipped
    }
    s.ScanMode = ModeOfPixelType(CurrentPixelType());
    s.ScanSubMode = 0;
    records.WorkingEnhancement = s.Enhancement;
    IdentityTones();

    ScanJobRequest request = ApplicationScanRequest(TheSource.AppWindow, false);
    request.speedAndSource = uint32_t(s.ScanSource) << 16;
    request.area = AreaWithoutWindow(TheNegotiation.CurrentLayout.Frame, TheLink.opticalResolution);
    if (!RunAnnouncedScanJob(request)) NotifyCloseRequest();
}
