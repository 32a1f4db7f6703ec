// Shading calibration of a local scanner: measure the white reference, convert it through
// the level-correction tables and send the scanner its correction coefficients.
#pragma once

#include <cstdint>
#include <vector>

// The coefficients of the last calibration, re-sent when the scanner asks only for them.
struct ShadingStore {
    std::vector<uint8_t> high;  // high bytes of the 16-bit coefficients
    std::vector<uint8_t> low;
    bool colour = false;
};
extern ShadingStore TheShadingStore;

struct ShadingRequest {
    uint16_t resolution;
    bool colour;          // three interleaved channels; otherwise one
    bool measure;         // the scanner asked for a measurement (or one is forced)
    uint8_t resendKind;   // what the scanner asked to be re-sent: 1 single, 2 three channels
    bool defaultLibrary;  // buffers in whole lines rather than 128 KiB units
};

// Returns false after a failure has been reported (627, or 604 through AbortScan).
bool CalibrateShading(const ShadingRequest& request);
