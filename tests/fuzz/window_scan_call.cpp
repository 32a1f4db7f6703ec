// The scanning window's Scan as a fuzz input chooses it (see app_calls.h).
#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/scan_job_state.h"
#include "engine/scan_window.h"
#include "link/scanner_link.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "tests/fuzz/app_calls.h"
#include "twain/announced_scan.h"
#include "twain/source_record.h"

namespace {

std::string Fields(FuzzInput& in, int count, int modulo, int offset) {
    std::string text;
    char field[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(field, sizeof field, "%5d", int(in.U16() % modulo) - offset);
        text += field;
    }
    return text;
}

// The tone and colour settings the window holds, as loading them from the model's profile
// section gives them: the input writes the keys, the settings load reads them back.
EnhancementRecord EnhancementFromProfile(FuzzInput& in) {
    const char* section = ModelSectionName(TheLink.opticalResolution);
    plat::WriteProfileString(section, "Highlight", Fields(in, 4, 300, 20).c_str());
    plat::WriteProfileString(section, "Shadow", Fields(in, 4, 300, 20).c_str());
    plat::WriteProfileString(section, "Gamma", Fields(in, 4, 300, 20).c_str());
    plat::WriteProfileString(section, "Hue", std::to_string(int(in.U16() % 1999) - 999).c_str());
    plat::WriteProfileString(section, "Saturation", std::to_string(int(in.U16() % 1999) - 999).c_str());
    plat::WriteProfileString(section, "ColorBalance", Fields(in, 3, 241, 120).c_str());
    plat::WriteProfileString(section, "PixelRGB", Fields(in, 3, 256, 0).c_str());
    plat::WriteProfileString(section, "CirclePos", Fields(in, 2, 400, 50).c_str());
    static SettingsRecords loaded;
    LoadScanSettings(section, {TheLink.optionInstalled, false}, loaded);
    return loaded.settings.Enhancement;
}

}  // namespace

bool WindowScan(SourceHarness& h, FuzzInput& in) {
    static constexpr uint16_t kResolutions[] = {50, 75, 100, 150, 200, 300, 400, 600};
    static constexpr uint16_t kScalings[] = {100, 50, 25, 150, 200, 33};
    if (h.State() != 500 || !TheSource.ScanningWindow || TheLink.opticalResolution == 0) return false;
    ResetScanSettings({TheLink.optionInstalled, false}, TheSettings);
    ScanSettings& s = TheSettings.settings;
    s.ScanMode = uint16_t(kModeLineArt + in.Pick(4));
    s.ScanSubMode = s.ScanMode == kModeColor ? uint16_t(in.Pick(3)) : 0;
    s.ScanRes = in.PickFrom(kResolutions);
    s.ScanSource = TheLink.optionInstalled ? uint8_t(in.Pick(4)) : 0;
    s.FilterMode = uint16_t(in.Pick(9));
    s.DeScreen = kDescreenNone + int32_t(in.Pick(4));
    s.OutputMatch = in.Bit();
    s.Scaling = in.PickFrom(kScalings);
    s.DpiScale = uint16_t(in.Pick(6));
    // Eighths of an inch; the frame stays within the budget at the chosen resolution.
    const double left = in.Pick(16) / 8.0, top = in.Pick(16) / 8.0;
    const double width = (1 + in.Pick(8)) / 8.0, height = (1 + in.Pick(8)) / 8.0;
    if (in.Bit()) s.Enhancement = EnhancementFromProfile(in);
    TheSettings.WorkingEnhancement = s.Enhancement;
    // The delivered resolution: scaling, quality factor and dot-per-inch scale included.
    const double dpi = std::max<uint32_t>(EffectiveResolutionOf(s, TheLink.opticalResolution), 100);
    if (width * dpi * height * dpi > SourceHarness::kBudgetPixels) return false;
    const double optical = WindowScale(TheLink.opticalResolution);
    ScanJobRequest request = ApplicationScanRequest(TheSource.ScanningWindow, true);
    request.speedAndSource = uint32_t(s.ScanSource) << 16;
    request.area = {int32_t(left * optical), int32_t(top * optical),
                    int32_t((left + width) * optical), int32_t((top + height) * optical)};
    return RunAnnouncedScanJob(request);
}
