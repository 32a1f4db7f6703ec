#include "window/preview_scroll.h"

#include "window/preview_mapping.h"

namespace {

// The position an action asks for on an axis whose range is 0 ... limit.
int32_t Target(int32_t position, int32_t limit, int32_t zoom, ScrollAction action, int32_t thumb) {
    switch (action) {
        case ScrollAction::LineLess: return position - limit / (5 * zoom);
        case ScrollAction::LineMore: return position + limit / (5 * zoom);
        case ScrollAction::PageLess: return position - limit / zoom;
        case ScrollAction::PageMore: return position + limit / zoom;
        case ScrollAction::ThumbPosition: return thumb;
        default: return position;
    }
}

}  // namespace

bool ScrollPreview(PreviewState& s, ScrollAxis axis, ScrollAction action, int32_t thumb) {
    const PreviewPoint limit = ScrollLimit(s);
    const bool across = axis == ScrollAxis::Horizontal;
    const int32_t position = across ? s.scroll.x : s.scroll.y;
    const int32_t next = Target(position, across ? limit.x : limit.y, s.zoom, action, thumb);
    const PreviewPoint step = across ? PreviewPoint{next - position, 0} : PreviewPoint{0, next - position};
    const PreviewPoint moved = ScrollPreviewBy(s, step);
    return moved.x != 0 || moved.y != 0;
}

PreviewPoint ScrollPreviewBy(PreviewState& s, PreviewPoint units) {
    const PreviewPoint before = s.scroll;
    s.scroll.x += units.x;
    s.scroll.y += units.y;
    SettleScroll(s);
    return {s.scroll.x - before.x, s.scroll.y - before.y};
}
