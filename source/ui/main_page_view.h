// The Main page (dialog 501): the scan parameters, the resolution box and menu, the image
// size, and the calibrator, language and scanner-saver icons.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainPageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Texts of the labels and the lists of the current language.
void SetMainPageTexts();
// Every list, the resolution box and the size from the settings, as after Load, Previous or
// Reset.
void RefreshMainPage();
// The size routine: width, length and image size of the region in the chosen unit.
void RunSizeRoutine();
