// The hardware's per-line data path, from the original's 12-bit reflectance per column to the
// delivered bytes: per-column shading gain (16.16 fixed point), clamp to 12 bits, then the tone
// table (a 4096-entry lookup per channel) or, for 36-bit colour, the 12-bit sample itself.
// These loops carry all the pixel work of a scan: no allocation, no division.
#pragma once

#include <cstdint>

#include "simulator/device/chart.h"

struct KernelTables {
    const uint32_t* gain[3];  // per column; only [0] for the single-channel modes
    const uint8_t* lut[3];    // per channel; only [0] for gray and line art
    uint8_t threshold;        // line art: a toned value above it is white
    bool unityGain;           // every gain is exactly 1.0 (65536)
};

// Writes one line of `pixels` pixels in the format of the colour type.
void ShadeLine(uint8_t colourType, const Rgb12* in, uint32_t pixels, const KernelTables& t,
               uint8_t* out);
