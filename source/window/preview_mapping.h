// Preview coordinates and device pixels. The view maps them anisotropically: window extent
// 100 x 100, viewport extent 100Z x 100Z, the window origin at the scroll position, so that
// device = (preview - scroll) x Z. The scroll offset is carried once: a viewport origin of
// -scroll x Z on top of that window origin would show the bed shifted twice.
#pragma once

#include <cstdint>

#include "window/preview_state.h"

PreviewPoint ToDevice(const PreviewState& s, PreviewPoint preview);
// The preview pixel under a device pixel (rounded toward minus infinity, so a point left of
// or above the window maps left of or above the view too).
PreviewPoint ToPreview(const PreviewState& s, PreviewPoint device);
PreviewRect RectToDevice(const PreviewState& s, const PreviewRect& preview);

// The numbers for the device context's mapping mode.
struct PreviewMapping {
    int32_t windowExtent = 100, viewportExtent = 100;
    PreviewPoint windowOrigin, viewportOrigin;
};
PreviewMapping MappingOf(const PreviewState& s);

// The scroll bars' range on each axis: 0 ... (Z - 1) x size / Z (0 ... 0 at zoom 1).
PreviewPoint ScrollLimit(const PreviewState& s);

// Puts the scroll position into its range and the viewport origin after it.
void SettleScroll(PreviewState& s);
