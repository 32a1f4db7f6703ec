#include "ui/bitmap_drawing.h"

#include "platform/win32/win32_module.h"

bool DrawBitmapStretched(HDC dc, const RECT& rect, const char* name) {
    HBITMAP picture = LoadBitmapA(plat::win32::ModuleInstance(), name);
    if (!picture) return false;
    BITMAP b;
    GetObjectA(picture, sizeof b, &b);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0,
               0, b.bmWidth, b.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    return true;
}

void DrawBitmapCentred(HDC dc, const RECT& rect, const char* name, int shift) {
    HBITMAP picture = LoadBitmapA(plat::win32::ModuleInstance(), name);
    if (!picture) return;
    BITMAP b;
    GetObjectA(picture, sizeof b, &b);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    const int x = rect.left + (rect.right - rect.left - b.bmWidth) / 2 + shift;
    const int y = rect.top + (rect.bottom - rect.top - b.bmHeight) / 2 + shift;
    BitBlt(dc, x, y, b.bmWidth, b.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
}
