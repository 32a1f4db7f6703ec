// The three ways a drag changes the scan region, as rectangle arithmetic in preview
// coordinates. Each starts from the region as it was when the button went down and takes the
// mouse's travel since then, so an edge that was held back at a limit is under the mouse
// again as soon as the mouse comes back.
#pragma once

#include <cstdint>

#include "window/preview_state.h"

// How close a dragged edge may come to the opposite one.
constexpr int32_t kResizeStop = 2;

// Left <= right and top <= bottom.
PreviewRect NormalisedRegion(PreviewRect r);
// Every side within the client rectangle; the orientation is kept.
PreviewRect ClampedRegion(PreviewRect r, const PreviewRect& client);

// Codes 1 to 8: the edges the code names follow the mouse inside the client rectangle and
// stop kResizeStop short of the opposite edge, so the region never turns inside out.
PreviewRect ResizedRegion(const PreviewRect& start, uint8_t hit, PreviewPoint travel,
                          const PreviewRect& client);
// Code 9: the region follows the mouse and stays whole inside the client rectangle.
PreviewRect MovedRegion(const PreviewRect& start, PreviewPoint travel, const PreviewRect& client);
// Code 10: from the anchor to the point kept in the client rectangle (inverted until the
// button comes up).
PreviewRect NewRegion(PreviewPoint anchor, PreviewPoint point, const PreviewRect& client);
