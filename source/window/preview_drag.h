// The mouse in the preview area: hovering sets the cursor, the left button starts a drag
// (Crop), a zoom step (Zoom) or a pick, and a Crop drag resizes, moves or draws the scan
// region, scrolling the zoomed view on a timer while the mouse is outside it.
#pragma once

#include <cstdint>

#include "window/preview_hit_test.h"
#include "window/preview_state.h"
#include "window/preview_zoom.h"

// How far one auto-scroll tick scrolls the view toward the mouse, in device pixels.
constexpr int32_t kAutoScrollStep = 16;

// The cursor for the point (see PreviewCursor); in the Zoom tool the zoom rectangle follows.
const char* PreviewHover(PreviewState& s, PreviewPoint device, bool shift, HitTolerance t);

struct ButtonDownOutcome {
    bool stopMarchingAnts = false;  // Crop: the frame stands still while it is dragged
    bool confineCursor = false;     // a pick tool: to the client rectangle until button-up
    bool zoomStep = false;          // the Zoom tool stepped: see zoom
    ZoomOutcome zoom;
};
// The view captures the mouse, and repaints; it does not call this while a batch job scans.
ButtonDownOutcome PreviewButtonDown(PreviewState& s, PreviewPoint device, bool shift,
                                    HitTolerance t, const FrameMetrics& m);

// What the view does after a step of a drag: when repaint is set, repaint the preview and set
// both scroll bars first; then erase the outline in erase and draw the one in draw
// (exclusive-or, preview coordinates); start the timer startTimer (kPreviewTimerMs) or stop
// all three auto-scroll timers; beep; when the region changed run the size routine.
struct DragStep {
    bool regionChanged = false;
    XorOutline erase, draw;
    bool repaint = false;
    uint32_t startTimer = 0;
    bool stopTimers = false;
    bool beep = false;
};

// The mouse moved to a device point with the button held.
DragStep PreviewDragTo(PreviewState& s, PreviewPoint device);
// Timer 7, 8 or 9.
DragStep PreviewAutoScrollTick(PreviewState& s);

struct ButtonUpOutcome {
    bool regionFinished = false;      // a Crop drag ended: repaint, and tell the batch window
    bool releaseConfinement = false;  // a pick tool's
};
// The view stops timers 7 to 9, restarts timer 4, sets the cursor and releases the capture.
// The region is left normalised and inside the client rectangle.
ButtonUpOutcome PreviewButtonUp(PreviewState& s);

// A new client size (from every resize of the preview area). A minimised window's empty size
// changes nothing; otherwise the scroll position and the region are kept inside the new
// client rectangle (a drag under way keeps its results inside on its own).
void SetPreviewClientSize(PreviewState& s, int32_t width, int32_t height);
