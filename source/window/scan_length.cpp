#include "window/scan_length.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kHalfMarker = 5;

// The first y that gives at least four inches.
int32_t FourInchY(const ScanLengthScale& scale) {
    if (scale.previewHeight <= 0 || scale.bedInches <= 0) return 0;
    int32_t y = static_cast<int32_t>(std::ceil(kLeastScanLength * scale.previewHeight / scale.bedInches));
    while (y > 0 && ScanLengthInches(y - 1, scale) >= kLeastScanLength) --y;
    while (ScanLengthInches(y, scale) < kLeastScanLength && y < scale.previewHeight) ++y;
    return y;
}

// Which side of the line a -> b the point p lies on.
int64_t Cross(PreviewPoint a, PreviewPoint b, PreviewPoint p) {
    return int64_t(b.x - a.x) * (p.y - a.y) - int64_t(b.y - a.y) * (p.x - a.x);
}

}  // namespace

float ScanLengthBedInches(bool narrowBed, uint8_t scanSource) {
    return !narrowBed || scanSource == 1 ? 17.0f : 11.5f;
}

float ScanLengthInches(int32_t y, const ScanLengthScale& scale) {
    if (scale.previewHeight <= 0) return scale.bedInches;
    const double inches = double(y) * scale.bedInches / scale.previewHeight;
    return static_cast<float>(std::min(inches, double(scale.bedInches)));
}

int32_t MarkerCentre(const ScanLengthStrip& s) { return s.moved ? s.markerY : s.height - 6; }

MarkerTriangle ScanLengthMarker(const ScanLengthStrip& s) {
    const int32_t c = MarkerCentre(s);
    return {{{1, c + kHalfMarker}, {1, c - kHalfMarker}, {s.width - 1, c}}};
}

bool ScanLengthPress(ScanLengthStrip& s, PreviewPoint p) {
    const MarkerTriangle t = ScanLengthMarker(s);
    const int64_t a = Cross(t.points[0], t.points[1], p), b = Cross(t.points[1], t.points[2], p),
                  c = Cross(t.points[2], t.points[0], p);
    s.dragging = (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
    return s.dragging;
}

int32_t ScanLengthDrag(ScanLengthStrip& s, int32_t y, const ScanLengthScale& scale) {
    if (!s.dragging) return MarkerCentre(s);
    const int32_t least = std::max(kHalfMarker, FourInchY(scale));
    const int32_t most = std::max(least, s.height - kHalfMarker);
    s.markerY = std::clamp(y, least, most);
    s.moved = true;
    return s.markerY;
}

bool ScanLengthRelease(ScanLengthStrip& s, const ScanLengthScale& scale) {
    if (!s.dragging) return false;
    s.dragging = false;
    if (s.moved) s.inches = std::max(kLeastScanLength, ScanLengthInches(s.markerY, scale));
    return true;
}
