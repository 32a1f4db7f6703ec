// The About page (504): the scanner's picture and its name, version and firmware lines.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutPageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
void SetAboutPageTexts();
