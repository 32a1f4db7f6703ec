#include "ui/install_ui_hooks.h"

#include "session/ui_hooks.h"
#include "ui/not_ready_dialog.h"
#include "ui/progress_window.h"
#include "ui/scanning_window.h"
#include "ui/warm_up_dialog.h"

void InstallUiHooks() {
    TheUi.OpenNotReadyDialog = OpenNotReadyDialog;
    TheUi.CloseNotReadyDialog = CloseNotReadyDialog;
    TheUi.OpenWarmUpDialog = OpenWarmUpDialog;
    TheUi.CloseWarmUpDialog = CloseWarmUpDialog;
    TheUi.CreateScanningWindow = CreateScanningWindow;
    TheUi.ShowScanningWindow = ShowScanningWindow;
    TheUi.HideScanningWindow = HideScanningWindow;
    TheUi.DestroyScanningWindow = DestroyScanningWindow;
    TheUi.FilterWindowMessage = FilterScanningWindowMessage;
    TheUi.EnableScanControls = EnableWindowScanControls;
    TheUi.CreateProgressWindow = CreateProgressWindow;
    TheUi.UpdateProgress = UpdateProgress;
    TheUi.DestroyProgressWindow = CloseProgressWindow;
}
