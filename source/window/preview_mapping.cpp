#include "window/preview_mapping.h"

#include <algorithm>

namespace {

int32_t FloorDiv(int32_t value, int32_t divisor) {
    const int32_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

}  // namespace

PreviewPoint ToDevice(const PreviewState& s, PreviewPoint p) {
    return {(p.x - s.scroll.x) * s.zoom, (p.y - s.scroll.y) * s.zoom};
}

PreviewPoint ToPreview(const PreviewState& s, PreviewPoint d) {
    return {FloorDiv(d.x, s.zoom) + s.scroll.x, FloorDiv(d.y, s.zoom) + s.scroll.y};
}

PreviewRect RectToDevice(const PreviewState& s, const PreviewRect& r) {
    const PreviewPoint a = ToDevice(s, {r.left, r.top}), b = ToDevice(s, {r.right, r.bottom});
    return {a.x, a.y, b.x, b.y};
}

PreviewMapping MappingOf(const PreviewState& s) {
    PreviewMapping m;
    m.viewportExtent = 100 * s.zoom;
    m.windowOrigin = s.scroll;
    return m;
}

PreviewPoint ScrollLimit(const PreviewState& s) {
    return {(s.zoom - 1) * s.width / s.zoom, (s.zoom - 1) * s.height / s.zoom};
}

void SettleScroll(PreviewState& s) {
    const PreviewPoint limit = ScrollLimit(s);
    s.scroll.x = std::clamp(s.scroll.x, 0, std::max(0, limit.x));
    s.scroll.y = std::clamp(s.scroll.y, 0, std::max(0, limit.y));
    s.viewportOrigin = {-s.scroll.x * s.zoom, -s.scroll.y * s.zoom};
}
