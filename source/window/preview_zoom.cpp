#include "window/preview_zoom.h"

#include <algorithm>

#include "window/preview_mapping.h"

namespace {

// One axis of the zoom rectangle: its low side and size kept inside 0 ... extent.
void PlaceInside(int32_t& low, int32_t& high, int32_t size, int32_t extent) {
    if (low < 0) low = 0;
    high = low + size;
    if (high > extent) {
        high = extent;
        low = high - size;
    }
}

// The view's top-left corner at a preview point, the factor changed.
ZoomOutcome Rezoom(PreviewState& s, PreviewPoint corner, int32_t zoom, const FrameMetrics& m) {
    ZoomOutcome out;
    out.frameChange = FrameZoomChange(s.zoom, zoom, m);
    s.zoom = zoom;
    s.scroll = corner;
    SettleScroll(s);
    out.scrollLimit = ScrollLimit(s);
    return out;
}

}  // namespace

PreviewRect ZoomRectangle(PreviewPoint d, int32_t width, int32_t height) {
    PreviewRect r{d.x - width / 4, d.y - height / 4, 0, 0};
    PlaceInside(r.left, r.right, width / 2, width);
    PlaceInside(r.top, r.bottom, height / 2, height);
    return r;
}

ZoomOutcome ZoomPreviewIn(PreviewState& s, const FrameMetrics& m) {
    if (s.zoom >= kMostZoom) return {true, {}, ScrollLimit(s)};
    const PreviewPoint corner = ToPreview(s, {s.zoomRect.left, s.zoomRect.top});
    return Rezoom(s, corner, s.zoom * 2, m);
}

ZoomOutcome ZoomPreviewOut(PreviewState& s, PreviewPoint device, const FrameMetrics& m) {
    if (s.zoom < 2) return {true, {}, ScrollLimit(s)};
    const PreviewPoint p = ToPreview(s, device);
    const PreviewPoint corner{std::clamp(p.x - s.width / s.zoom, 0, s.width),
                              std::clamp(p.y - s.height / s.zoom, 0, s.height)};
    return Rezoom(s, corner, s.zoom / 2, m);
}
