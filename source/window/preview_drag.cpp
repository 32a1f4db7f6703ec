#include "window/preview_drag.h"

#include <algorithm>

#include "window/preview_mapping.h"
#include "window/preview_region_edit.h"
#include "window/preview_scroll.h"

namespace {

bool SameRect(const PreviewRect& a, const PreviewRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Resizing(uint8_t hit) { return hit >= kHitTopLeft && hit <= kHitRight; }

uint32_t TimerFor(uint8_t hit) {
    if (hit == kHitNewRegion) return kTimerNewRegion;
    return hit == kHitInside ? kTimerMoveRegion : kTimerResizeRegion;
}

// -1 left of or above the view, +1 right of or below it, 0 inside it.
int32_t Side(int32_t v, int32_t size) { return v < 0 ? -1 : v >= size ? 1 : 0; }

bool RegionDrag(const PreviewState& s) {
    return s.dragging && s.tool == PreviewTool::Crop && s.hit != kHitNone;
}

// The region as the drag makes it with the mouse at its last point, held to the view's edge
// when the mouse is outside the view.
DragStep ApplyDrag(PreviewState& s) {
    const PreviewPoint held{std::clamp(s.lastDevice.x, 0, s.width),
                            std::clamp(s.lastDevice.y, 0, s.height)};
    const PreviewPoint p = ToPreview(s, held);
    const PreviewPoint travel{p.x - s.anchor.x, p.y - s.anchor.y};
    const PreviewRect client = PreviewClient(s);
    const PreviewRect before = s.region;
    if (s.hit == kHitNewRegion)
        s.region = NewRegion(s.anchor, p, client);
    else if (s.hit == kHitInside)
        s.region = MovedRegion(s.regionAtDown, travel, client);
    else if (Resizing(s.hit))
        s.region = ResizedRegion(s.regionAtDown, s.hit, travel, client);
    DragStep out;
    out.regionChanged = !SameRect(before, s.region);
    if (!out.regionChanged && s.previousOutline.drawn) return out;
    out.erase = s.previousOutline;
    out.draw = {true, s.region};
    s.previousOutline = out.draw;
    return out;
}

}  // namespace

const char* PreviewHover(PreviewState& s, PreviewPoint device, bool shift, HitTolerance t) {
    s.shift = shift;
    if (s.tool == PreviewTool::Zoom) s.zoomRect = ZoomRectangle(device, s.width, s.height);
    return PreviewCursor(s.tool, PreviewHitTest(s, device, t, shift), shift);
}

ButtonDownOutcome PreviewButtonDown(PreviewState& s, PreviewPoint device, bool shift,
                                    HitTolerance t, const FrameMetrics& m) {
    ButtonDownOutcome out;
    s.shift = shift;
    s.hit = PreviewHitTest(s, device, t, shift);
    s.dragging = true;
    s.anchorDevice = s.lastDevice = device;
    s.anchor = ToPreview(s, device);
    s.region = ClampedRegion(NormalisedRegion(s.region), PreviewClient(s));
    s.regionAtDown = s.region;
    s.previousOutline = {};
    s.autoScrollTimer = 0;
    switch (s.tool) {
        case PreviewTool::Crop: out.stopMarchingAnts = true; break;
        case PreviewTool::Zoom:
            out.zoomStep = true;
            s.zoomRect = ZoomRectangle(device, s.width, s.height);
            out.zoom = shift ? ZoomPreviewOut(s, device, m) : ZoomPreviewIn(s, m);
            break;
        default: out.confineCursor = true; break;
    }
    return out;
}

DragStep PreviewDragTo(PreviewState& s, PreviewPoint device) {
    s.lastDevice = device;
    if (!RegionDrag(s)) return {};
    const bool outside = Side(device.x, s.width) != 0 || Side(device.y, s.height) != 0;
    const uint32_t timer = s.zoom > 1 && outside ? TimerFor(s.hit) : 0;
    DragStep out = ApplyDrag(s);
    if (timer != s.autoScrollTimer) {
        out.startTimer = timer;
        out.stopTimers = timer == 0;
        s.autoScrollTimer = timer;
    }
    return out;
}

DragStep PreviewAutoScrollTick(PreviewState& s) {
    const PreviewPoint side{Side(s.lastDevice.x, s.width), Side(s.lastDevice.y, s.height)};
    if (!RegionDrag(s) || s.zoom < 2 || (side.x == 0 && side.y == 0)) {
        s.autoScrollTimer = 0;
        DragStep stop;
        stop.stopTimers = true;
        return stop;
    }
    const int32_t step = kAutoScrollStep / s.zoom;
    const PreviewPoint wanted{side.x * step, side.y * step};
    const PreviewPoint moved = ScrollPreviewBy(s, wanted);
    const bool scrolled = moved.x != 0 || moved.y != 0;
    // The repaint takes the old outline with it.
    if (scrolled) s.previousOutline = {};
    DragStep out = ApplyDrag(s);
    out.repaint = scrolled;
    out.beep = s.hit == kHitInside && (moved.x != wanted.x || moved.y != wanted.y);
    return out;
}

ButtonUpOutcome PreviewButtonUp(PreviewState& s) {
    ButtonUpOutcome out;
    out.regionFinished = s.dragging && s.tool == PreviewTool::Crop;
    out.releaseConfinement =
        s.tool == PreviewTool::PickHighlight || s.tool == PreviewTool::PickShadow;
    s.dragging = false;
    s.autoScrollTimer = 0;
    s.previousOutline = {};
    s.region = ClampedRegion(NormalisedRegion(s.region), PreviewClient(s));
    return out;
}

void SetPreviewClientSize(PreviewState& s, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    s.width = width;
    s.height = height;
    SettleScroll(s);
    const PreviewRect client = PreviewClient(s);
    s.region = ClampedRegion(s.region, client);
    if (!s.dragging) s.region = NormalisedRegion(s.region);
    s.zoomRect = {0, 0, width / 2, height / 2};
    s.previousOutline = {};
}
