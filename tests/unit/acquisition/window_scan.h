// The scanning window's Scan, as the window would run it: the scan job with these settings.
// Kept apart from the simulator's headers, which have a function named like the engine's
// scan-area type.
#pragma once

#include <cstdint>
#include <functional>

struct ScanSettings;

// Frame in inches on the opened model. True when the scan started.
bool RunWindowScan(uint16_t mode, uint16_t subMode, uint16_t resolution, double left,
                   double top, double right, double bottom);

// The same from the reset settings as `choose` changes them.
bool RunWindowScanWith(const std::function<void(ScanSettings&)>& choose, double left,
                       double top, double right, double bottom);
