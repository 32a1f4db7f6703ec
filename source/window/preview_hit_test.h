// What the mouse is over in the preview: a corner or an edge of the scan region (resize it),
// its inside (move it) or the rest of the preview (draw a new one), and the cursor for it.
#pragma once

#include <cstdint>

#include "window/preview_state.h"

// How near an edge counts as on it: two dialog units each way, in device pixels.
struct HitTolerance {
    int32_t x = 0, y = 0;
};
// From the dialog base units (low word: average character width, high word: height).
HitTolerance DialogUnitTolerance(uint32_t dialogBaseUnits);

// The hit code of a point for a region (either orientation) on a client rectangle, all in
// the same pixels; Shift turns any code on or in the region into a new region.
uint8_t RegionHitTest(const PreviewRect& region, const PreviewRect& client, PreviewPoint p,
                      HitTolerance t, bool shift);

// The preview's scan region at a device point.
uint8_t PreviewHitTest(const PreviewState& s, PreviewPoint device, HitTolerance t, bool shift);

// The cursor resource's name for the tool and hit code; empty for the standard arrow.
const char* PreviewCursor(PreviewTool tool, uint8_t hit, bool shift);

// The marching-ants tick in the Zoom tool: the cursor to set when the Shift key changed since
// it was last seen, else null.
const char* ZoomCursorAfterShift(PreviewState& s, bool shift);
