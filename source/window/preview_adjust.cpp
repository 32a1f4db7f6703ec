#include "window/preview_adjust.h"

#include <cstring>

namespace {

// Byte k of a bitmap pixel is input 2 - k of the scanner-order plan.
constexpr int Input(int byte) { return 2 - byte; }

bool Straight(const ToneTables& tones) {
    for (int v = 0; v < 256; ++v)
        if (tones.blue[v] != v || tones.green[v] != v || tones.red[v] != v) return false;
    return true;
}

// The plan's outputs are already in bitmap order (the tables were swapped for it); only the
// inputs change places.
void FoldLanes(const uint8_t* const (&tone)[3], ColorAdjustPlan& plan) {
    int16_t lanes[3][256][4];
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 256; ++v)
            std::memcpy(lanes[k][v], plan.lanes[Input(k)][tone[k][v]], sizeof lanes[k][v]);
    std::memcpy(plan.lanes, lanes, sizeof lanes);
}

void FoldWide(const uint8_t* const (&tone)[3], ColorAdjustPlan& plan) {
    ColorMatrixTables wide;
    for (int k = 0; k < 3; ++k)
        for (int out = 0; out < 3; ++out)
            for (int v = 0; v < 256; ++v)
                wide.t[k][out][v] = plan.wide.t[Input(k)][out][tone[k][v]];
    plan.wide = wide;
}

// Each output byte depends on its own input byte: byte k's curve, then the table of its
// component, stored in place.
void FoldPerChannel(const uint8_t* const (&tone)[3], bool identityTables,
                    ColorAdjustPlan& plan) {
    uint8_t table[3][256];
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 256; ++v)
            table[k][v] = identityTables ? tone[k][v] : plan.perChannel[Input(k)][tone[k][v]];
    std::memcpy(plan.perChannel, table, sizeof table);
    plan.kernel = AdjustKernel::PerChannel;
    plan.swapOutputs = false;
}

}  // namespace

void PreparePreviewAdjust(const EnhancementRecord& record, uint16_t scanMode,
                          const ToneTables& tones, ColorAdjustPlan& plan) {
    ColorAdjustInputs in{};
    std::memcpy(in.pixelRGB, record.PixelRGB, sizeof in.pixelRGB);
    in.saturation = record.Saturation;
    in.scanMode = scanMode;
    in.order = PixelOrder::Scanner;
    in.swapOutputs = true;
    PrepareColorAdjust(in, plan);

    const uint8_t* const tone[3] = {tones.blue, tones.green, tones.red};
    switch (plan.kernel) {
        case AdjustKernel::Copy:
            if (Straight(tones)) {
                plan.swapOutputs = false;  // the bytes stay where they are
                return;
            }
            return FoldPerChannel(tone, true, plan);
        case AdjustKernel::PerChannel: return FoldPerChannel(tone, false, plan);
        case AdjustKernel::Lanes: return FoldLanes(tone, plan);
        case AdjustKernel::Wide: return FoldWide(tone, plan);
    }
}
