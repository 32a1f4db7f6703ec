// Tool tips of the scanning window: a borderless pop-up of class "Tooltips Class" below the
// control under the mouse, on pale yellow, gone after three seconds or when the mouse leaves.
#pragma once

#include <windows.h>

// Every mouse move of the application's loop passes here (the window's message filter).
void TrackToolTip(const MSG& message);
// Timer 100 of the main window.
void ToolTipTick();
void DestroyToolTip();

constexpr UINT_PTR kToolTipTimer = 100;
