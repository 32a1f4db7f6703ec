#include "prescan/prescan_geometry.h"

#include <cmath>

float OpticalScale(uint16_t opticalResolution) {
    switch (opticalResolution) {
        case 600: return 600.0f;
        case 800: return 800.0f;
        default: return 1200.0f;  // 606 and 1200
    }
}

PrescanGeometry PlanPrescan(uint16_t opticalResolution, uint16_t scanSource, uint16_t narrowBed,
                            bool highResolution, float prescanLength) {
    PrescanGeometry g;
    g.resolution = highResolution ? 60 : 30;
    g.opticalScale = OpticalScale(opticalResolution);
    if (narrowBed != 0 && scanSource != 1) {
        g.bedWidth = 8.5f;
        g.bedLength = 11.5f;
    }
    // A chosen length shortens the window; the bitmap keeps the bed's height.
    g.scanLength = (prescanLength >= 4.0f && prescanLength != g.bedLength) ? prescanLength
                                                                            : g.bedLength;
    // A length past the bed cannot be scanned: the bed ends the window.
    if (g.scanLength > g.bedLength) g.scanLength = g.bedLength;
    g.xEnd = static_cast<uint16_t>(g.bedWidth * g.opticalScale);
    g.yEnd = static_cast<uint16_t>(g.scanLength * g.opticalScale);
    g.plannedLines = static_cast<uint32_t>(float(g.resolution) * g.bedLength);
    return g;
}

PrescanRows RowsForLine(uint32_t bytesPerLine) {
    PrescanRows r;
    r.pixels = bytesPerLine / 3;
    r.rowBytes = (r.pixels * 3 + 3) & ~3u;
    return r;
}

// One pixel or line more than the window's exact extent covers the scanner's rounding.
uint32_t MostPixels(const PrescanGeometry& g) {
    return static_cast<uint32_t>(std::ceil(double(g.xEnd) / g.opticalScale * g.resolution)) + 1;
}

uint32_t MostLines(const PrescanGeometry& g) {
    return static_cast<uint32_t>(std::ceil(double(g.yEnd) / g.opticalScale * g.resolution)) + 1;
}
