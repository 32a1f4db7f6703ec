#include "scan_window.h"

#include <algorithm>
#include <cstring>

uint16_t EffectiveResolutionOf(const ScanSettings& s) {
    const int64_t value = s.Destination == 1022
                              ? int64_t(s.QualityFactor) * s.Scaling * s.ScanRes / 1000
                              : int64_t(s.Scaling) * s.ScanRes / 100;
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 65535));
}

// The scanner counts a pixel whenever its accumulator, started at the optical resolution
// and raised by the resolution per unit, passes the optical resolution: ceil(units x res /
// optical).
uint32_t ScannedPixels(uint32_t units, uint16_t resolution, uint16_t opticalResolution) {
    if (opticalResolution == 0) return 0;
    return static_cast<uint32_t>((uint64_t(units) * resolution + opticalResolution - 1) /
                                 opticalResolution);
}

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

}  // namespace

// The optical resolution is the finest scale the window can be counted in (a model whose
// units are finer only answers less), so the bound never refuses a genuine reply.
bool StartReplyFitsWindow(const SetParametersBlock& window, uint16_t opticalResolution,
                          uint32_t lines, uint32_t bytesPerLine) {
    if (opticalResolution == 0) return true;  // no scale known to count the window in
    const uint32_t width = window.xEnd > window.xStart ? window.xEnd - window.xStart : 0;
    const uint32_t length = window.yEnd > window.yStart ? window.yEnd - window.yStart : 0;
    const uint32_t pixels = ScannedPixels(width, window.resolution, opticalResolution);
    return lines <= ScannedPixels(length, window.resolution, opticalResolution) &&
           bytesPerLine <= WindowLineBytes(window.colourType, pixels);
}

int32_t AcceptableRight(const ScanArea& area, uint16_t resolution, uint16_t optical, bool lineArt) {
    for (int32_t right = area.right; right > area.left; --right) {
        uint32_t count = ScannedPixels(uint32_t(right - area.left), resolution, optical);
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

ScanWindowResult BuildScanWindow(const ScanWindowInput& in, SetParametersBlock& block) {
    const ScanSettings& s = *in.settings;
    ScanWindowResult result{};
    result.effectiveResolution = EffectiveResolutionOf(s);
    uint32_t asked = result.effectiveResolution;
    if (in.descreenAtLowRes && asked < 300) asked = 300;
    result.halfResolutionScan = in.previousHalfResolution;
    if (in.memoryOrFileTransfer) {
        result.halfResolutionScan = asked > in.opticalResolution;
        if (result.halfResolutionScan) asked = (uint32_t(s.Scaling) * s.ScanRes / 100) >> 1;
    }
    asked = std::min<uint32_t>(asked, in.opticalResolution);
    result.askedResolution = static_cast<uint16_t>(asked);

    std::memset(&block, 0, sizeof block);
    block.xStart = static_cast<uint16_t>(in.area.left);
    block.yStart = static_cast<uint16_t>(in.area.top);
    block.xEnd = static_cast<uint16_t>(AcceptableRight(in.area, result.askedResolution,
                                                       in.opticalResolution,
                                                       s.ScanMode == kModeLineArt));
    block.yEnd = static_cast<uint16_t>(in.area.bottom);
    block.source = s.ScanSource;
    block.fromDataSource = 1;
    block.colourType = ColourTypeOf(s.ScanMode, s.ScanSubMode);
    block.speed = s.Velocity;
    block.resolution = result.askedResolution;
    block.lampSaverMinutes = in.lampSaverMinutes;
    return result;
}
