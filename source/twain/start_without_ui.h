// The scan of an application that enabled the source without its window: the negotiated
// values decide everything.
#pragma once

#include "common/twain.h"
#include "engine/scan_window.h"

// Reads the settings, overrides them with the negotiated values, and runs the scan job.
// On failure the application is asked to close the source (MSG_CLOSEDSREQ).
void StartScanWithoutUI();

// The area of a scan without window: the negotiated frame in inches, or the default page
// area (17 mm to 216 mm across, 0 to 295 mm down) when the frame has no right or bottom.
ScanArea AreaWithoutWindow(const TW_FRAME& frame, uint16_t opticalResolution);
