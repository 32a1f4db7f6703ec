// What the Scan button makes of the region drawn on the preview: the region kept on the bed,
// the scan area in the scanner's units, and the width the engine can take in one line.
#pragma once

#include <cstdint>

#include "engine/scan_window.h"
#include "settings/scan_settings.h"
#include "window/image_size.h"

// Normalised (left <= right, top <= bottom), left and top inside the client rectangle. A
// region wholly below the bed becomes the last pixel row (top = client bottom - 2, bottom =
// client bottom - 1); one that only reaches past the bed ends at its last row.
PreviewRect RegionForScan(PreviewRect region, const PreviewRect& client);

// The scan area in the scanner's window units (WindowScale per inch; the feeder's page when
// the feeder is enabled).
ScanArea AreaForScan(const PreviewRect& region, const PreviewRect& client, const SizeContext& context);

// The widest line the engine takes: "ScanRes" x "Scaling" x width / 100 must stay below 10666
// pixels in colour and 32000 in the other modes.
bool WidthWithinLimit(const ScanSettings& s, const PreviewRect& region, double inchesPerPixelX);
