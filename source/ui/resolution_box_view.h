// The Main page's resolution box (control 1006) and its drop-down menu of resolutions.
#pragma once

#include <windows.h>

#include <cstdint>

void DrawResolutionBox(const DRAWITEMSTRUCT& item, bool sunken);
// Opens the menu under the box; true when the resolution changed.
bool OpenResolutionMenu(HWND page);
