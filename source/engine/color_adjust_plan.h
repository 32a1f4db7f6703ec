// Colour adjustment prepared once per scan: the tone tables (bitmap order only), the picked-
// colour correction and the saturation matrix folded into lookup tables, and the cheapest
// kernel that gives exactly the same pixels chosen from what the tables turned out to be.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/color_matrix.h"
#include "engine/tone_curve.h"

struct ColorAdjustInputs {
    uint8_t pixelRGB[3];  // the picked colour, red, green, blue
    int32_t saturation;
    uint16_t scanMode;  // base mode: saturation and the picked colour act on colour scans
    PixelOrder order;
    bool swapOutputs;  // the first and third output bytes change places (BMP order)
    ToneTables tones;  // applied first in bitmap order, ignored in scanner order
};

enum class AdjustKernel : uint8_t {
    Copy,        // every table is the identity
    PerChannel,  // each output byte depends on its own input byte only
    Lanes,       // the general case: the three outputs as 16-bit lanes, summed together
    Wide,        // 32-bit sums: saturation beyond what 16-bit lanes hold, or no SSE2
};

// Lane entries stay within +/- (32767 - 255): a sum of three that saturates at the 16-bit
// limits is then far outside 0..255 exactly when the true sum is, so the final clamp to
// 0..255 gives the same byte either way.
constexpr int32_t kLaneLimit = 32767 - 255;

struct ColorAdjustPlan {
    AdjustKernel kernel = AdjustKernel::Copy;
    bool swapOutputs = false;  // Copy and PerChannel store the outputs swapped; the lane and
                               // wide tables already have them swapped
    uint8_t perChannel[3][256];
    alignas(8) int16_t lanes[3][256][4];  // [in][v]: outputs 0, 1, 2 and an unused lane
    ColorMatrixTables wide;  // t[in][out][v] with every correction folded in
};

void PrepareColorAdjust(const ColorAdjustInputs& inputs, ColorAdjustPlan& plan);

// Whether this build has the 16-bit lane kernel (SSE2).
bool ColorAdjustHasLanes();

// Adjusts `pixels` 3-byte pixels from src into dst; dst may equal src (in place), other
// overlaps are not allowed. Allocation-free.
void RunColorAdjust(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst,
                    const uint8_t* src);
