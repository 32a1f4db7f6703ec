#include "simulator/device/scan_geometry.h"

uint32_t SamplesAcross(uint32_t units, uint32_t resolution, uint32_t scale) {
    return uint32_t((uint64_t(units) * resolution + scale - 1) / scale);
}

uint32_t BytesPerPixelLine(uint8_t colourType, uint32_t pixels) {
    switch (colourType) {
        case kColourTypeLineArt: return pixels / 8;
        case kColourTypeFastGray:
        case kColourTypeGray: return pixels;
        case kColourTypeColour: return pixels * 3;
        case kColourTypeColour36: return pixels * 6;
        default: return 0;
    }
}

WindowCheck PlanScan(const ScannerProfile& profile, const ScanWindow& window, ScanGeometry& out) {
    const uint8_t type = window.colourType;
    if (type != kColourTypeLineArt && type != kColourTypeFastGray && type != kColourTypeGray &&
        type != kColourTypeColour && type != kColourTypeColour36)
        return WindowCheck::BadColourType;
    if (!SourceInstalled(profile, window.source)) return WindowCheck::BadSource;
    if (window.resolution < 10 || window.resolution > MaxResolution(profile))
        return WindowCheck::BadResolution;
    const BedExtent area = ScanArea(profile, window.source);
    if (window.xStart >= window.xEnd || window.yStart >= window.yEnd ||
        window.xEnd > area.width || window.yEnd > area.length)
        return WindowCheck::BadWindow;
    const uint32_t scale = OpticalScale(profile);
    ScanGeometry g;
    g.pixels = SamplesAcross(window.xEnd - window.xStart, window.resolution, scale);
    g.lines = SamplesAcross(window.yEnd - window.yStart, window.resolution, scale);
    g.bytesPerLine = BytesPerPixelLine(type, g.pixels);
    if (g.bytesPerLine == 0) return WindowCheck::BadWindow;
    if (g.bytesPerLine > 0xFFFF || g.lines > 0xFFFF) return WindowCheck::TooWide;
    out = g;
    return WindowCheck::Ok;
}

int32_t SampleCentreMils(uint32_t start, uint32_t i, uint32_t resolution, uint32_t scale) {
    // 1000 x (start + (i + 1/2) x scale / resolution) / scale, in integers.
    const uint64_t num = 2000ull * start * resolution + 1000ull * (2ull * i + 1) * scale;
    return int32_t(num / (2ull * scale * resolution));
}

uint32_t SampleUnit(uint32_t start, uint32_t i, uint32_t resolution, uint32_t scale) {
    return start + uint32_t(((2ull * i + 1) * scale) / (2ull * resolution));
}
