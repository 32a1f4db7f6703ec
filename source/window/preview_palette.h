// How the preview is shown on the display: at 24 bits, or through 8 bits per pixel and a
// 256-entry palette whose colours depend on the scan mode.
#pragma once

#include <cstdint>

#include "engine/tone_curve.h"

// The palette's colours, red, green, blue, as the view's logical palette takes them.
struct PreviewPalette {
    uint8_t rgb[256][3];
};

// True colour (24 bits) only on a display of more than 8 bits (planes x bits per pixel) and
// only in the colour scan mode (base mode 1014); everything else goes through the palette.
bool PreviewShowsTrueColour(int planes, int bitsPerPixel, uint16_t scanMode);

// By base scan mode: line art black where the blue tone table is below 128 and white
// elsewhere; the gray modes gray t[i] (t the blue table, the curve of a single-channel scan);
// colour the fixed 3-3-2 palette of the dithered image.
void BuildPreviewPalette(uint16_t scanMode, const ToneTables& tones, PreviewPalette& out);

// The colours as a bitmap's colour table: blue, green, red, 0 for each entry (1024 bytes).
void WriteColourTable(const PreviewPalette& palette, uint8_t* table);
