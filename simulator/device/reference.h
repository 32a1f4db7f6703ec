// The reference render: for given settings, the exact image a correct caller must end up
// with. It runs the device's own line path with the coefficients a correct shading
// calibration computes (the trimmed average of the white reference through the level
// correction), so the column gains cancel, and with the tone tables the caller would send
// (identity unless given).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/device/config.h"
#include "simulator/device/scan_geometry.h"
#include "simulator/device/tone.h"

struct ReferenceRequest {
    ScanWindow window;
    const ToneState* tones = nullptr;  // nullptr: identity tables, threshold 127
};

struct ReferenceImage {
    uint8_t colourType = 0;
    uint32_t pixels = 0;  // pixels delivered per line (line art: bytes per line x 8)
    uint32_t lines = 0;
    uint32_t bytesPerLine = 0;
    std::vector<uint8_t> data;  // lines x bytesPerLine, top line first
};

enum class ShadingUse : uint8_t { Correct, None };

// The lines exactly as the scanner delivers them: line art packed MSB first (1 = white), gray
// one byte, colour red, green, blue, 36-bit colour three little-endian 12-bit samples.
bool RenderScannerLines(const SimulatorConfig& config, const ReferenceRequest& request,
                        ShadingUse shading, ReferenceImage& out, std::string& error);

// What the caller's line pipeline delivers with neutral processing: the scanner lines with
// correct shading, 36-bit samples scaled to 16 bits ((sample & 4095) x 16).
bool RenderReference(const SimulatorConfig& config, const ReferenceRequest& request,
                     ReferenceImage& out, std::string& error);

// Tone tables as a caller sends them: one 256-value curve per slot, widened for the model.
ToneState ToneStateFromCurves(const uint8_t (&curves)[kToneSlots][256], uint16_t entries,
                              uint8_t threshold);
