// Texts of the scanning window from the string table of the current language, set when the
// window opens and again after a language change.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The window's texts are UTF-8 strings shown through the wide functions: the Chinese blocks
// then show on a system of any code page.
// String id of the current language's block (the base added), as UTF-8.
std::string UiText(uint32_t id);
// A string loaded without the language's base (the same in every language).
std::string UiTextWithoutBase(uint32_t id);
// A profile value (in the system's code page) as UTF-8.
std::string FromProfile(const std::string& text);
std::wstring Wide(const std::string& utf8);
void SetTitle(HWND window, const std::string& utf8);
int DrawUiText(HDC dc, const std::string& utf8, RECT* rect, UINT format);

// The dialog font for the current language, replacing (and deleting) the previous one.
void RecreateDialogFont();
// Title, command buttons, tab strip and every page.
void SetAllWindowTexts();
void SetText(HWND dialog, int control, const std::string& text);
