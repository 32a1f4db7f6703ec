// Texts of the scanning window from the string table of the current language, set when the
// window opens and again after a language change.
#pragma once

#include <windows.h>

#include <string>

// The dialog font for the current language, replacing (and deleting) the previous one.
void RecreateDialogFont();
// Title, command buttons, tab strip and every page.
void SetAllWindowTexts();
void SetText(HWND dialog, int control, const std::string& text);
