#include "install_ui_hooks.h"

#include "not_ready_dialog.h"
#include "ui_hooks.h"
#include "warm_up_dialog.h"

void InstallUiHooks() {
    TheUi.OpenNotReadyDialog = OpenNotReadyDialog;
    TheUi.CloseNotReadyDialog = CloseNotReadyDialog;
    TheUi.OpenWarmUpDialog = OpenWarmUpDialog;
    TheUi.CloseWarmUpDialog = CloseWarmUpDialog;
}
