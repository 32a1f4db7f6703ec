// Drawing the window's own bitmaps (resources drawn by art/draw_art.py) into owner-drawn
// controls.
#pragma once

#include <windows.h>

// The bitmap unscaled and centred in rect, moved by `shift` pixels right and down (a pressed
// look); nothing when the resource is missing.
void DrawBitmapCentred(HDC dc, const RECT& rect, const char* name, int shift = 0);
// The bitmap stretched over rect (colour on colour); false when the resource is missing.
bool DrawBitmapStretched(HDC dc, const RECT& rect, const char* name);
