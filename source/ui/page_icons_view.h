// The Main page's three icons: calibrator (1015), language (1028) and scanner saver (1030),
// drawn raised, sunken while their action runs, or flat when they do nothing.
#pragma once

#include <windows.h>

void DrawPageIcon(const DRAWITEMSTRUCT& item);
bool CalibratorAvailable();
void StartCalibrator();
// The language dialog; on OK every text of the window is reloaded.
void ChooseLanguage();
