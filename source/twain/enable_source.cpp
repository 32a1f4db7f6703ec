#include "enable_source.h"

#include "capability_tables.h"
#include "color_adjust.h"
#include "dispatch.h"
#include "level_correction.h"
#include "scanner_link.h"
#include "source_record.h"
#include "start_without_ui.h"
#include "tone_download.h"
#include "ui_hooks.h"

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
