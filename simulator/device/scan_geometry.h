// What a full set-up asks for and what the scanner will deliver for it: pixels, lines and
// bytes per line at the asked resolution and mode, exactly as the hardware counts them.
#pragma once

#include <cstdint>

#include "simulator/device/profile.h"

struct ScanWindow {
    uint16_t xStart = 0, yStart = 0, xEnd = 0, yEnd = 0;  // optical-scale units
    uint8_t source = 0;
    uint8_t colourType = kColourTypeColour;
    uint16_t resolution = 0;
    bool fromDataSource = true;  // false: the prescan library's set-up (its shading layout)
};

struct ScanGeometry {
    uint32_t pixels = 0;
    uint32_t lines = 0;
    uint32_t bytesPerLine = 0;
};

enum class WindowCheck : uint8_t { Ok, BadColourType, BadSource, BadResolution, BadWindow, TooWide };

// Samples over `units` optical units at `resolution`: the data source's width rule (an
// accumulator that counts a pixel each time it passes the optical scale), ceil(units x res /
// scale).
uint32_t SamplesAcross(uint32_t units, uint32_t resolution, uint32_t scale);

uint32_t BytesPerPixelLine(uint8_t colourType, uint32_t pixels);

// Checks the window against the profile (source installed, bed, resolution, mode) and computes
// the geometry. Lines and bytes per line must fit the 16-bit reply fields.
WindowCheck PlanScan(const ScannerProfile& profile, const ScanWindow& window, ScanGeometry& out);

// Position of the centre of sample i of a run starting at `start` units, in thousandths of an
// inch on the bed.
int32_t SampleCentreMils(uint32_t start, uint32_t i, uint32_t resolution, uint32_t scale);
// Index of the optical-scale unit (sensor element or bed row) under that centre.
uint32_t SampleUnit(uint32_t start, uint32_t i, uint32_t resolution, uint32_t scale);
