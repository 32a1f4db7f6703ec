// The scan window sent with ScanRequestSetParameters: area, resolution, mode, source, speed,
// and the plan of how the scanned lines become an image at the effective resolution.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"
#include "engine/resolution_plan.h"
#include "settings/scan_settings.h"

struct ScanArea {
    int32_t left, top, right, bottom;  // window units (WindowScale per inch)
};

// Window coordinates count units of the optical resolution per inch; the 606 model counts
// 1200ths of an inch, like the 1200 dpi model.
uint16_t WindowScale(uint16_t opticalResolution);

// The resolution the image is delivered at: "ScanRes" scaled by the output scaling (and by
// the quality factor for the print destination 1022); a "DpiScale" of 1-4 asks for that many
// times the doubled optical resolution (1200, 1600 or 2400) instead.
uint32_t EffectiveResolutionOf(const ScanSettings& settings, uint16_t opticalResolution);

struct ScanWindowInput {
    ScanArea area;
    const ScanSettings* settings;
    uint16_t opticalResolution;
    bool descreenAtLowRes;
    bool memoryOrFileTransfer;   // only these transfers reduce a descreened image
    uint16_t lampSaverMinutes;
};

// Pixels the scanner delivers for `units` of the window scale at `resolution`.
uint32_t ScannedPixels(uint32_t units, uint32_t resolution, uint16_t windowScale);

// Whether a start reply's lines and bytes per line fit the window the set-up asked for. The
// scanner never delivers more than the window holds; a larger answer is a broken reply, and
// taking it would size the whole image (a native transfer's single bitmap) from it.
bool StartReplyFitsWindow(const SetParametersBlock& window, uint16_t opticalResolution,
                          uint32_t lines, uint32_t bytesPerLine);

// Narrows the right edge until the scanned width (bytes for line art) is a multiple of 4 and
// not of 128; an area that never gets there keeps its right edge.
int32_t AcceptableRight(const ScanArea& area, uint16_t resolution, uint16_t windowScale,
                        bool lineArt);

// The mode code of the set-up request for a mode and sub-mode.
uint8_t ColourTypeOf(uint16_t mode, uint16_t subMode);

// Fills the whole set-up block (full set-up, not the lamp saver alone) and returns the plan.
ResolutionPlan BuildScanWindow(const ScanWindowInput& input, SetParametersBlock& block);
