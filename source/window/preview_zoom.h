// The Zoom tool: the rectangle that shows what a zoom-in will fill the view with, and the
// steps in (doubling the factor up to 8) and out (halving it down to 1).
#pragma once

#include <cstdint>

#include "window/preview_frame.h"
#include "window/preview_state.h"

// Half the client size, its corner a quarter of the size up and left of the cursor, shifted
// back inside the client rectangle (device pixels).
PreviewRect ZoomRectangle(PreviewPoint device, int32_t width, int32_t height);

// What the view does after a step: beep (when nothing changed), or resize the frame by
// frameChange, set both scroll bars to 0 ... scrollLimit at the state's scroll position, put
// PreviewTitle with the new factor on the frame and invalidate the preview.
struct ZoomOutcome {
    bool beep = false;
    FrameSize frameChange;
    PreviewPoint scrollLimit;
};

// In: the zoom rectangle's corner becomes the view's top-left corner.
ZoomOutcome ZoomPreviewIn(PreviewState& s, const FrameMetrics& m);
// Out: the clicked point (device pixels) ends up near the middle of the wider view.
ZoomOutcome ZoomPreviewOut(PreviewState& s, PreviewPoint device, const FrameMetrics& m);
