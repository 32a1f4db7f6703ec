#include "window/scan_region.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kColourWidthLimit = 10666;
constexpr double kOtherWidthLimit = 32000;

int32_t Units(double inches, uint16_t scale) {
    return static_cast<int32_t>(std::max(0.0, inches * scale));
}

}  // namespace

PreviewRect RegionForScan(PreviewRect r, const PreviewRect& client) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    r.left = std::clamp(r.left, client.left, client.right);
    r.top = std::max(r.top, client.top);
    if (r.top >= client.bottom) {
        r.top = client.bottom - 2;
        r.bottom = client.bottom - 1;
    } else if (r.bottom >= client.bottom) {
        // Only the part on the bed can be scanned; the user's top stays where it was drawn.
        r.bottom = client.bottom - 1;
    }
    return r;
}

ScanArea AreaForScan(const PreviewRect& region, const PreviewRect& client, const SizeContext& c) {
    ScanArea a{};
    const uint16_t r = WindowScale(c.opticalResolution);
    if (c.feeder) {
        // The feeder's page: 8 mm to 216 mm across, 0 to 295 mm down.
        a.left = static_cast<int32_t>(r * 8 / 25.4);
        a.right = static_cast<int32_t>(r * 216 / 25.4);
        a.bottom = static_cast<int32_t>(r * 295 / 25.4);
        return a;
    }
    a.left = Units((region.left - client.left) * c.inchesPerPixelX, r);
    a.right = Units((region.right - client.left) * c.inchesPerPixelX, r);
    a.top = Units((region.top - client.top) * c.inchesPerPixelY, r);
    a.bottom = Units((region.bottom - client.top) * c.inchesPerPixelY, r);
    return a;
}

bool WidthWithinLimit(const ScanSettings& s, const PreviewRect& region, double inchesPerPixelX) {
    const double inches = std::abs(region.right - region.left) * inchesPerPixelX;
    const double pixels = double(s.ScanRes) * s.Scaling * inches / 100;
    return pixels < (s.ScanMode == kModeColor ? kColourWidthLimit : kOtherWidthLimit);
}
