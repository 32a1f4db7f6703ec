#include "window/preview_region_edit.h"

#include <algorithm>

namespace {

struct Edges {
    bool top, right, bottom, left;
};

Edges EdgesOf(uint8_t hit) {
    return {hit == kHitTopLeft || hit == kHitTop || hit == kHitTopRight,
            hit == kHitRight || hit == kHitTopRight || hit == kHitBottomRight,
            hit == kHitBottom || hit == kHitBottomLeft || hit == kHitBottomRight,
            hit == kHitLeft || hit == kHitTopLeft || hit == kHitBottomLeft};
}

// A low edge (left or top) dragged toward the fixed high one, and the other way round.
int32_t DragLow(int32_t edge, int32_t travel, int32_t high, int32_t least, int32_t most) {
    const int32_t moved = std::clamp(edge + travel, least, most);
    return std::max(std::min(moved, high - kResizeStop), least);
}
int32_t DragHigh(int32_t edge, int32_t travel, int32_t low, int32_t least, int32_t most) {
    const int32_t moved = std::clamp(edge + travel, least, most);
    return std::min(std::max(moved, low + kResizeStop), most);
}

// The travel along one axis that keeps low ... high inside least ... most.
int32_t KeptTravel(int32_t travel, int32_t low, int32_t high, int32_t least, int32_t most) {
    return std::max(std::min(travel, most - high), least - low);
}

}  // namespace

PreviewRect NormalisedRegion(PreviewRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

PreviewRect ClampedRegion(PreviewRect r, const PreviewRect& c) {
    r.left = std::clamp(r.left, c.left, c.right);
    r.right = std::clamp(r.right, c.left, c.right);
    r.top = std::clamp(r.top, c.top, c.bottom);
    r.bottom = std::clamp(r.bottom, c.top, c.bottom);
    return r;
}

PreviewRect ResizedRegion(const PreviewRect& start, uint8_t hit, PreviewPoint travel,
                          const PreviewRect& c) {
    const PreviewRect s = ClampedRegion(NormalisedRegion(start), c);
    const Edges e = EdgesOf(hit);
    PreviewRect r = s;
    if (e.top) r.top = DragLow(s.top, travel.y, s.bottom, c.top, c.bottom);
    if (e.bottom) r.bottom = DragHigh(s.bottom, travel.y, s.top, c.top, c.bottom);
    if (e.left) r.left = DragLow(s.left, travel.x, s.right, c.left, c.right);
    if (e.right) r.right = DragHigh(s.right, travel.x, s.left, c.left, c.right);
    return r;
}

PreviewRect MovedRegion(const PreviewRect& start, PreviewPoint travel, const PreviewRect& c) {
    const PreviewRect s = ClampedRegion(NormalisedRegion(start), c);
    const int32_t dx = KeptTravel(travel.x, s.left, s.right, c.left, c.right);
    const int32_t dy = KeptTravel(travel.y, s.top, s.bottom, c.top, c.bottom);
    return {s.left + dx, s.top + dy, s.right + dx, s.bottom + dy};
}

PreviewRect NewRegion(PreviewPoint anchor, PreviewPoint point, const PreviewRect& c) {
    return ClampedRegion({anchor.x, anchor.y, point.x, point.y}, c);
}
