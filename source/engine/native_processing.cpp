#include "engine/native_processing.h"

#include "engine/native_filters.h"
#include "engine/scan_job_state.h"
#include "session/ui_hooks.h"

namespace {

struct PassContext {
    bool showProgress;
    uint32_t messageId;
};

// After every row: the window stays alive, the progress moves, and Escape stops the pass.
bool RowDone(void* context, uint32_t done, uint32_t total) {
    const auto* pass = static_cast<const PassContext*>(context);
    if (pass->showProgress && TheUi.UpdateProgress) TheUi.UpdateProgress(done, total, pass->messageId);
    return plat::PumpMessagesCheckEscape();
}

// A pass stopped by Escape keeps the rows done so far; the image is still delivered.
bool Stopped(FilterResult result) {
    if (result != FilterResult::Stopped) return false;
    DestroyProgressWindow();
    TheScanJob.ScanFailed = true;
    EnableScanControls();
    return true;
}

}  // namespace

bool ProcessNativeImage(plat::MemHandle image, uint16_t filterMode, bool descreen, bool showProgress) {
    if (descreen) {
        PassContext pass{showProgress, 507};
        const FilterResult result = DescreenNativeImage(image, {RowDone, &pass});
        if (result == FilterResult::Unchanged) return false;
        if (Stopped(result)) return true;
    }
    PassContext pass{showProgress, 505};
    const FilterResult result = FilterNativeImage(image, filterMode, {RowDone, &pass});
    Stopped(result);
    return result != FilterResult::Unchanged;
}
