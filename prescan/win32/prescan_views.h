// The Win32 views behind ThePrescanUi: the two modeless dialogs and the hourglass. DllMain
// installs them; the portable prescan only ever sees the hooks. The resource script includes
// this header too, for the control ids.
#pragma once

// The two centred lines of every warming-up and not-ready dialog. Neither id may be one a
// message box uses for its text (0xFFFF) or icon (0x0440): the test harness's box watcher
// recognises boxes by them and would press a button on ours.
#define IDC_PRESCAN_FIRST_LINE 101
#define IDC_PRESCAN_SECOND_LINE 102

#ifndef RC_INVOKED

#include <windows.h>

#include <cstdint>

// Creates dialog `dialogId` from this library's resources over owner (null: none), sets its
// caption (string 14, the device's name) and its two lines (strings firstString and
// firstString + 1) from the language's block of the library's table, and shows and paints
// it at once: the caller pumps no messages before its next request to the scanner. Null when
// the dialog cannot be created.
HWND OpenTextDialog(HWND owner, int dialogId, uint16_t language, uint32_t firstString);

// The views of the hooks (prescan/prescan_ui.h has what each shows).
void OpenWarmUpView(void* owner, int dialogId, uint16_t language);
void CloseWarmUpView();
void OpenNotReadyView(int dialogId, uint16_t language);
void CloseNotReadyView();
void ShowWaitCursorView(bool wait);

#endif
