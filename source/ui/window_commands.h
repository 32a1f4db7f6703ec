// The scanning window's command buttons: Prescan, Scan, Cancel, Previous, Reset, and the
// quick-help mode.
#pragma once

#include <windows.h>

void RunPrescanCommand();
void RunScanCommand();
void RunCancelCommand();
void RunPreviousCommand();
void RunResetCommand();

void EnterHelpMode();
// The click that ends help mode (lParam of the mouse message, in the main window's client).
void HelpClick(LPARAM point);
void DrawQuickHelpButton(const DRAWITEMSTRUCT& item);
