// Where and how the prescan scans: the whole bed in colour at 30 or 60 dpi, the window in the
// units of the scanner's optical scale, and the lines the bitmap is planned to hold.
#pragma once

#include <cstdint>

struct PrescanGeometry {
    uint16_t resolution = 30;
    float opticalScale = 1200.0f;  // window units per inch
    float bedWidth = 11.7f;        // inches
    float bedLength = 17.0f;
    float scanLength = 17.0f;      // the window's length: the bed, or the chosen prescan length
    uint16_t xEnd = 0, yEnd = 0;   // the window; it starts at 0, 0
    uint32_t plannedLines = 0;     // resolution x bed length
};

// Window units per inch: 600 for the 600 dpi scanner, 800 for 800, 1200 for 606 and 1200.
float OpticalScale(uint16_t opticalResolution);

// scanSource 1 = positive film (the film unit scans the wide area on every model).
PrescanGeometry PlanPrescan(uint16_t opticalResolution, uint16_t scanSource, uint16_t narrowBed,
                            bool highResolution, float prescanLength);

// How the scanner's lines become bitmap rows: three bytes a pixel, rows padded to 4 bytes.
struct PrescanRows {
    uint32_t pixels = 0;
    uint32_t rowBytes = 0;
};
PrescanRows RowsForLine(uint32_t bytesPerLine);

// The most the window can deliver: a start reply beyond this is not a scan of this window.
uint32_t MostPixels(const PrescanGeometry& g);
uint32_t MostLines(const PrescanGeometry& g);
