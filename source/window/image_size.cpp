#include "window/image_size.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Fixed2(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%4.2f", value);
    return text;
}

// A length in inches as the unit shows it: pixels whole at the effective resolution, the
// others with the output scaling applied.
std::string InUnit(double inches, uint16_t unit, uint32_t resolution, uint16_t scaling) {
    switch (unit) {
        case kUnitPixels: return std::to_string(static_cast<long>(inches * resolution));
        case kUnitCm: return Fixed2(inches * 2.54 * scaling / 100);
        case kUnitMm: return Fixed2(inches * 25.4 * scaling / 100);
        default: return Fixed2(inches * scaling / 100);
    }
}

uint64_t ModeBytes(uint64_t pixels, uint16_t scanMode) {
    if (scanMode == kModeLineArt) return (pixels + 7) >> 3;
    if (scanMode == kModeColor) return pixels * 3;
    return pixels;
}

}  // namespace

uint32_t ShownResolution(const ScanSettings& s, uint16_t opticalResolution) {
    if (s.DpiScale == 5) return opticalResolution == 600 ? 6000 : opticalResolution == 800 ? 8000 : 12000;
    return uint32_t(s.Scaling) * s.ScanRes / 100;
}

bool ComputeImageSize(const ScanSettings& s, const SizeContext& context, const PreviewRect& region,
                      const PreviewRect& client, ImageSize& out) {
    if (client.Empty()) return false;
    out.resolution = ShownResolution(s, context.opticalResolution);
    if (context.feeder) {
        out.widthInches = kFeederPageWidthInches;
        out.lengthInches = kFeederPageLengthInches;
    } else {
        out.widthInches = std::abs(region.right - region.left) * context.inchesPerPixelX;
        out.lengthInches = std::abs(region.bottom - region.top) * context.inchesPerPixelY;
    }
    const double r = out.resolution;
    const double pixels = std::trunc((r * out.lengthInches) * (r * out.widthInches));
    out.bytes = ModeBytes(static_cast<uint64_t>(pixels), s.ScanMode);
    out.pixelWidth = static_cast<uint32_t>(r * out.widthInches);
    out.pixelLength = static_cast<uint32_t>(r * out.lengthInches);
    out.width = InUnit(out.widthInches, s.UnitFlag, out.resolution, s.Scaling);
    out.length = InUnit(out.lengthInches, s.UnitFlag, out.resolution, s.Scaling);
    out.kilobytes = Fixed2(out.bytes / 1024.0);
    return true;
}
