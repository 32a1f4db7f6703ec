#include "engine/scan_window.h"

#include <algorithm>
#include <cstring>

namespace {

uint64_t WindowLineBytes(uint8_t colourType, uint32_t pixels) {
    switch (colourType) {
        case kColourTypeLineArt: return (uint64_t(pixels) + 7) / 8;
        case kColourTypeFastGray:
        case kColourTypeGray: return pixels;
        case kColourTypeColour: return 3ull * pixels;
        default: return 6ull * pixels;
    }
}

uint32_t DoubledOpticalStep(uint16_t optical) {
    return optical == 600 ? 1200 : optical == 800 ? 1600 : 2400;
}

}  // namespace

uint16_t WindowScale(uint16_t opticalResolution) {
    return opticalResolution == 606 ? 1200 : opticalResolution;
}

uint32_t EffectiveResolutionOf(const ScanSettings& s, uint16_t opticalResolution) {
    if (s.DpiScale >= 1 && s.DpiScale <= 4) return s.DpiScale * DoubledOpticalStep(opticalResolution);
    const int64_t value = s.Destination == kDestinationHalftone
                              ? int64_t(s.QualityFactor) * s.Scaling * s.ScanRes / 1000
                              : int64_t(s.Scaling) * s.ScanRes / 100;
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, 65535));
}

// The scanner counts a pixel whenever its accumulator, started at the window scale and
// raised by the resolution per unit, passes the window scale: ceil(units x res / scale).
uint32_t ScannedPixels(uint32_t units, uint32_t resolution, uint16_t windowScale) {
    if (windowScale == 0) return 0;
    return static_cast<uint32_t>((uint64_t(units) * resolution + windowScale - 1) / windowScale);
}

bool StartReplyFitsWindow(const SetParametersBlock& window, uint16_t opticalResolution,
                          uint32_t lines, uint32_t bytesPerLine) {
    const uint16_t scale = WindowScale(opticalResolution);
    if (scale == 0) return true;  // no scale known to count the window in
    const uint32_t width = window.xEnd > window.xStart ? window.xEnd - window.xStart : 0;
    const uint32_t length = window.yEnd > window.yStart ? window.yEnd - window.yStart : 0;
    const uint32_t pixels = ScannedPixels(width, window.resolution, scale);
    return lines <= ScannedPixels(length, window.resolution, scale) &&
           bytesPerLine <= WindowLineBytes(window.colourType, pixels);
}

int32_t AcceptableRight(const ScanArea& area, uint16_t resolution, uint16_t scale, bool lineArt) {
    for (int32_t right = area.right; right > area.left; --right) {
        uint32_t count = ScannedPixels(uint32_t(right - area.left), resolution, scale);
        if (lineArt) count /= 8;
        if (count % 4 == 0 && count % 128 != 0) return right;
    }
    return area.right;
}

uint8_t ColourTypeOf(uint16_t mode, uint16_t subMode) {
    switch (mode) {
        case kModeLineArt: return kColourTypeLineArt;
        case kModeFastGray: return kColourTypeFastGray;
        case kModeGray: return kColourTypeGray;
        default: return subMode == kSubMode36Bit ? kColourTypeColour36 : kColourTypeColour;
    }
}

ResolutionPlan BuildScanWindow(const ScanWindowInput& in, SetParametersBlock& block) {
    const ScanSettings& s = *in.settings;
    const bool eightBit = s.ScanMode == kModeFastGray || s.ScanMode == kModeGray ||
                          (s.ScanMode == kModeColor && s.ScanSubMode != kSubMode36Bit);
    ResolutionInput plan;
    plan.effective = EffectiveResolutionOf(s, in.opticalResolution);
    plan.opticalResolution = in.opticalResolution;
    plan.descreenAtLowRes = in.descreenAtLowRes;
    plan.reducibleSamples = eightBit && in.memoryOrFileTransfer;
    const ResolutionPlan result = PlanResolution(plan);

    const uint16_t scale = WindowScale(in.opticalResolution);
    std::memset(&block, 0, sizeof block);
    block.xStart = static_cast<uint16_t>(in.area.left);
    block.yStart = static_cast<uint16_t>(in.area.top);
    block.xEnd = static_cast<uint16_t>(
        AcceptableRight(in.area, result.asked, scale, s.ScanMode == kModeLineArt));
    block.yEnd = static_cast<uint16_t>(in.area.bottom);
    block.source = s.ScanSource;
    block.fromDataSource = 1;
    block.colourType = ColourTypeOf(s.ScanMode, s.ScanSubMode);
    block.speed = s.Velocity;
    block.resolution = result.asked;
    block.lampSaverMinutes = in.lampSaverMinutes;
    return result;
}
