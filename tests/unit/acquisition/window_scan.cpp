#include "tests/unit/acquisition/window_scan.h"

#include "engine/scan_job_state.h"
#include "engine/scan_window.h"
#include "link/scanner_link.h"
#include "settings/settings_store.h"
#include "twain/announced_scan.h"
#include "twain/source_record.h"

namespace {

bool ScanFrame(double left, double top, double right, double bottom) {
    TheSettings.WorkingEnhancement = TheSettings.settings.Enhancement;
    const double optical = WindowScale(TheLink.opticalResolution);
    ScanJobRequest request = ApplicationScanRequest(TheSource.ScanningWindow, true);
    request.area = {int32_t(left * optical), int32_t(top * optical), int32_t(right * optical),
                    int32_t(bottom * optical)};
    return RunAnnouncedScanJob(request);
}

}  // namespace

bool RunWindowScan(uint16_t mode, uint16_t subMode, uint16_t resolution, double left,
                   double top, double right, double bottom) {
    ResetScanSettings({}, TheSettings);
    ScanSettings& s = TheSettings.settings;
    s.ScanMode = mode;
    s.ScanSubMode = subMode;
    s.ScanRes = resolution;
    return ScanFrame(left, top, right, bottom);
}

bool RunWindowScanWith(const std::function<void(ScanSettings&)>& choose, double left,
                       double top, double right, double bottom) {
    ResetScanSettings({}, TheSettings);
    choose(TheSettings.settings);
    return ScanFrame(left, top, right, bottom);
}
