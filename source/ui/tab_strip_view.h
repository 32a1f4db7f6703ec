// The tab strip drawn in control 1004 and the switching of pages.
#pragma once

#include <windows.h>

void DrawTabStrip(const DRAWITEMSTRUCT& item);
// A click on the strip: the tab under the point, when it may be chosen.
void ClickTabStrip();
// Hides the old page and shows the one of tab (1-4).
void ShowPageOfTab(int tab);
void RedrawTabStrip();
