#include "ui/install_ui_hooks.h"

#include "session/ui_hooks.h"
#include "ui/not_ready_dialog.h"
#include "ui/warm_up_dialog.h"

void InstallUiHooks() {
    TheUi.OpenNotReadyDialog = OpenNotReadyDialog;
    TheUi.CloseNotReadyDialog = CloseNotReadyDialog;
    TheUi.OpenWarmUpDialog = OpenWarmUpDialog;
    TheUi.CloseWarmUpDialog = CloseWarmUpDialog;
}
