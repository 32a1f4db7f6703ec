#include "install_ui_hooks.h"

#include "not_ready_dialog.h"
#include "ui_hooks.h"

void InstallUiHooks() {
    TheUi.OpenNotReadyDialog = OpenNotReadyDialog;
    TheUi.CloseNotReadyDialog = CloseNotReadyDialog;
}
