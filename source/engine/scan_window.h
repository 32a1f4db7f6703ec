// The scan window sent with ScanRequestSetParameters: area, resolution, mode, source, speed.
#pragma once

#include <cstdint>

#include "request_blocks.h"
#include "scan_settings.h"

struct ScanArea {
    int32_t left, top, right, bottom;  // 1/optical-resolution inch
};

struct ScanWindowInput {
    ScanArea area;
    const ScanSettings* settings;
    uint16_t opticalResolution;
    bool descreenAtLowRes;
    bool memoryOrFileTransfer;   // only these transfers can double a half-resolution scan
    bool previousHalfResolution; // what a native transfer keeps
    uint16_t lampSaverMinutes;
};

struct ScanWindowResult {
    uint16_t effectiveResolution;
    uint16_t askedResolution;
    bool halfResolutionScan;
};

// The resolution the image is delivered at: "ScanRes" scaled by the output scaling, and by
// the quality factor for the print destination.
uint16_t EffectiveResolutionOf(const ScanSettings& settings);

// Pixels the scanner delivers for `units` of the optical scale at `resolution`.
uint32_t ScannedPixels(uint32_t units, uint16_t resolution, uint16_t opticalResolution);

// Whether a start reply's lines and bytes per line fit the window the set-up asked for. The
// scanner never delivers more than the window holds; a larger answer is a broken reply, and
// taking it would size the whole image (a native transfer's single bitmap) from it.
bool StartReplyFitsWindow(const SetParametersBlock& window, uint16_t opticalResolution,
                          uint32_t lines, uint32_t bytesPerLine);

// Narrows the right edge until the scanned width (bytes for line art) is a multiple of 4 and
// not of 128; an area that never gets there keeps its right edge.
int32_t AcceptableRight(const ScanArea& area, uint16_t resolution, uint16_t opticalResolution,
                        bool lineArt);

// The mode code of the set-up request for a mode and sub-mode.
uint8_t ColourTypeOf(uint16_t mode, uint16_t subMode);

// Fills the whole set-up block (full set-up, not the lamp saver alone).
ScanWindowResult BuildScanWindow(const ScanWindowInput& input, SetParametersBlock& block);
