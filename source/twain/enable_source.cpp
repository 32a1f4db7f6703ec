#include "twain/enable_source.h"

#include "engine/color_adjust.h"
#include "engine/level_correction.h"
#include "engine/tone_download.h"
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "twain/capability_tables.h"
#include "twain/dispatch.h"
#include "twain/source_record.h"
#include "twain/start_without_ui.h"

namespace {

void ShowScanningWindow(TW_USERINTERFACE& ui) {
    if (!TheSource.ScanningWindow) {
        void* window = TheUi.CreateScanningWindow ? TheUi.CreateScanningWindow() : nullptr;
        if (!window) {
            TheSource.ScanWindowProcedure = nullptr;
            return FailCall(TWCC_LOWMEMORY);
        }
        TheSource.ScanningWindow = window;
        ui.ModalUI = 1;
    } else {
        if (TheUi.ShowScanningWindow) TheUi.ShowScanningWindow();
        EnableScanControls();
    }
    TheSource.SourceState = 500;
}

}  // namespace

void EnableSource(TW_MEMREF data) {
    auto& ui = *static_cast<TW_USERINTERFACE*>(data);
    TheSource.AppWindow = ui.hParent;
    TheSource.LastShowUI = ui.ShowUI != 0;
    // The shading step converts its white reference through these; a local scanner only.
    if (!TheLink.remote) BuildLevelCorrectionTables(TheLink.calibration);
    if (ui.ShowUI) return ShowScanningWindow(ui);

    BuildNoWindowToneTables(CurrentPixelType() == TWPT_RGB, TheToneColour.tones);
    // A failed scan has asked the application to close the source; the call itself fails
    // only when the job ended through the common error exit (which set the codes).
    StartScanWithoutUI();
}
