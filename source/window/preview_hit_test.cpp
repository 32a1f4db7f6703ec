#include "window/preview_hit_test.h"

#include <algorithm>
#include <cstdlib>

#include "window/preview_mapping.h"

namespace {

bool Near(int32_t v, int32_t edge, int32_t tolerance) { return std::abs(v - edge) <= tolerance; }
bool Between(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

// The tests in their order; the first that matches gives the code.
uint8_t EdgeOrCorner(const PreviewRect& r, PreviewPoint p, HitTolerance t) {
    const bool left = Near(p.x, r.left, t.x), right = Near(p.x, r.right, t.x);
    const bool top = Near(p.y, r.top, t.y), bottom = Near(p.y, r.bottom, t.y);
    const bool across = Between(p.x, r.left + t.x, r.right - t.x);
    const bool down = Between(p.y, r.top + t.y, r.bottom - t.y);
    if (left && top) return kHitTopLeft;
    if (across && top) return kHitTop;
    if (right && top) return kHitTopRight;
    if (right && down) return kHitRight;
    if (right && bottom) return kHitBottomRight;
    if (across && bottom) return kHitBottom;
    if (left && bottom) return kHitBottomLeft;
    if (left && down) return kHitLeft;
    return kHitInside;
}

}  // namespace

HitTolerance DialogUnitTolerance(uint32_t units) {
    return {static_cast<int32_t>((units & 0xFFFF) / 4 * 2),
            static_cast<int32_t>((units >> 16) / 8 * 2)};
}

uint8_t RegionHitTest(const PreviewRect& region, const PreviewRect& client, PreviewPoint p,
                      HitTolerance t, bool shift) {
    const PreviewRect r{std::min(region.left, region.right), std::min(region.top, region.bottom),
                        std::max(region.left, region.right), std::max(region.top, region.bottom)};
    if (Between(p.x, r.left - t.x, r.right + t.x) && Between(p.y, r.top - t.y, r.bottom + t.y))
        return shift ? uint8_t(kHitNewRegion) : EdgeOrCorner(r, p, t);
    const bool inClient =
        p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
    return inClient ? kHitNewRegion : kHitNone;
}

uint8_t PreviewHitTest(const PreviewState& s, PreviewPoint device, HitTolerance t, bool shift) {
    return RegionHitTest(RectToDevice(s, s.region), PreviewClient(s), device, t, shift);
}

const char* PreviewCursor(PreviewTool tool, uint8_t hit, bool shift) {
    if (tool == PreviewTool::Zoom) return shift ? "IDZOOMOUT" : "IDZOOMIN";
    if (tool != PreviewTool::Crop) return "IDC_PICKER";
    switch (hit) {
        case kHitTopLeft:
        case kHitBottomRight: return "IDSIZENWSE";
        case kHitTopRight:
        case kHitBottomLeft: return "IDSIZENESW";
        case kHitTop:
        case kHitBottom: return "IDSIZENS";
        case kHitLeft:
        case kHitRight: return "IDSIZEWE";
        case kHitInside: return "IDHAND1";
        default: return "";
    }
}

const char* ZoomCursorAfterShift(PreviewState& s, bool shift) {
    if (s.tool != PreviewTool::Zoom || shift == s.shift) return nullptr;
    s.shift = shift;
    return PreviewCursor(s.tool, kHitNone, shift);
}
