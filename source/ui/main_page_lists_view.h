// The Main page's drop-down lists: filled from the list models in the current language, and
// the output-scaling and quality-factor lists rebuilt as resolution and mode allow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "window/main_page_lists.h"

void FillList(HWND page, int control, const std::vector<ListEntry>& entries);
// Selects the entry storing value; false when none does.
bool SelectValue(HWND page, int control, int32_t value);
int32_t SelectedValue(HWND page, int control, int32_t fallback);
// The output scaling offered for the settings; "Scaling" becomes 100 when it is not.
void RebuildScalingList(HWND page);
// Destination 1022: the quality factors offered for the resolution (the 36-bit rules in
// that mode).
void RebuildQualityList(HWND page);
