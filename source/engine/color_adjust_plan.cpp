#include "engine/color_adjust_plan.h"

#include <cstring>
#include <utility>

namespace {

// What each input byte has become before the matrix sees it: the tone table (bitmap order),
// then the picked-colour correction.
void InputMaps(const ColorAdjustInputs& in, uint8_t (&map)[3][256]) {
    const uint8_t* tones[3] = {in.tones.blue, in.tones.green, in.tones.red};
    const bool toned = in.order == PixelOrder::Bitmap;
    const bool picked = PickCorrectionActive(in.pixelRGB);
    PickCorrection pick;
    if (picked) {
        // Only colour scans correct towards the picked colour itself; the others are pulled
        // towards white.
        const bool colour = in.scanMode == kModeColor;
        BuildPickCorrection(colour ? in.pixelRGB[0] : 255, colour ? in.pixelRGB[1] : 255,
                            colour ? in.pixelRGB[2] : 255, in.order, pick);
    }
    for (int b = 0; b < 3; ++b)
        for (int v = 0; v < 256; ++v) {
            uint8_t x = toned ? tones[b][v] : uint8_t(v);
            map[b][v] = picked ? pick.t[b][x] : x;
        }
}

bool IsIdentity(const ColorMatrixTables& f) {
    for (int in = 0; in < 3; ++in)
        for (int out = 0; out < 3; ++out)
            for (int v = 0; v < 256; ++v)
                if (f.t[in][out][v] != (in == out ? v : 0)) return false;
    return true;
}

bool IsDiagonal(const ColorMatrixTables& f) {
    for (int in = 0; in < 3; ++in)
        for (int out = 0; out < 3; ++out)
            for (int v = 0; v < 256 && in != out; ++v)
                if (f.t[in][out][v] != 0) return false;
    return true;
}

bool FitsLanes(const ColorMatrixTables& f) {
    if (!ColorAdjustHasLanes()) return false;
    for (const auto& in : f.t)
        for (const auto& out : in)
            for (int32_t x : out)
                if (x < -kLaneLimit || x > kLaneLimit) return false;
    return true;
}

void Lanes(const ColorMatrixTables& f, ColorAdjustPlan& plan) {
    for (int in = 0; in < 3; ++in)
        for (int v = 0; v < 256; ++v) {
            for (int out = 0; out < 3; ++out) plan.lanes[in][v][out] = int16_t(f.t[in][out][v]);
            plan.lanes[in][v][3] = 0;
        }
}

void PerChannel(const ColorMatrixTables& f, ColorAdjustPlan& plan) {
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 256; ++v) {
            const int32_t x = f.t[k][k][v];
            plan.perChannel[k][v] = uint8_t(x < 0 ? 0 : (x > 255 ? 255 : x));
        }
}

// The kernel is chosen on the tables as computed; swapping the outputs afterwards keeps an
// identity a copy and a diagonal a per-channel lookup, whose loops store the bytes swapped.
void SwapOutputTables(ColorAdjustPlan& plan) {
    for (int in = 0; in < 3; ++in) {
        std::swap(plan.wide.t[in][0], plan.wide.t[in][2]);
        for (auto& lane : plan.lanes[in]) std::swap(lane[0], lane[2]);
    }
}

}  // namespace

void PrepareColorAdjust(const ColorAdjustInputs& inputs, ColorAdjustPlan& plan) {
    ColorMatrixTables matrix;
    BuildColorMatrixTables(SaturationFactor(inputs.saturation, inputs.scanMode), matrix);
    uint8_t map[3][256];
    InputMaps(inputs, map);
    ColorMatrixTables& f = plan.wide;
    for (int in = 0; in < 3; ++in)
        for (int out = 0; out < 3; ++out)
            for (int v = 0; v < 256; ++v) f.t[in][out][v] = matrix.t[in][out][map[in][v]];

    if (IsIdentity(f)) {
        plan.kernel = AdjustKernel::Copy;
    } else if (IsDiagonal(f)) {
        plan.kernel = AdjustKernel::PerChannel;
        PerChannel(f, plan);
    } else if (FitsLanes(f)) {
        plan.kernel = AdjustKernel::Lanes;
        Lanes(f, plan);
    } else {
        plan.kernel = AdjustKernel::Wide;
    }
    plan.swapOutputs = inputs.swapOutputs;
    if (plan.swapOutputs) SwapOutputTables(plan);
}
