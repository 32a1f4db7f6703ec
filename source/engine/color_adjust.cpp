#include "engine/color_adjust.h"

#include <cstring>
#include <initializer_list>

#include "engine/color_adjust_plan.h"

ToneColourState TheToneColour;

namespace {

// The prepared adjustment and what it was prepared from.
struct PreparedAdjust {
    bool valid = false;
    ColorAdjustInputs inputs{};
    ColorAdjustPlan plan{};
};
PreparedAdjust ThePrepared;

ColorAdjustInputs InputsFor(const EnhancementRecord& record, uint16_t scanMode,
                            bool swapRedBlue) {
    ColorAdjustInputs in{};
    in.swapOutputs = swapRedBlue;
    std::memcpy(in.pixelRGB, record.PixelRGB, sizeof in.pixelRGB);
    in.saturation = record.Saturation;
    in.scanMode = scanMode;
    in.order = TheToneColour.order;
    // Scanner order never reads the curves: keep them out of the comparison.
    if (in.order == PixelOrder::Bitmap) in.tones = TheToneColour.tones;
    return in;
}

bool SameInputs(const ColorAdjustInputs& a, const ColorAdjustInputs& b) {
    return std::memcmp(a.pixelRGB, b.pixelRGB, sizeof a.pixelRGB) == 0 &&
           a.saturation == b.saturation && a.scanMode == b.scanMode && a.order == b.order &&
           a.swapOutputs == b.swapOutputs && std::memcmp(&a.tones, &b.tones, sizeof a.tones) == 0;
}

}  // namespace

void ResetToneColourState() {
    TheToneColour = ToneColourState{};
    ThePrepared.valid = false;
}

void ApplyColorAdjust(uint32_t pixelsPerLine, uint32_t lines, uint8_t* dst, const uint8_t* src,
                      const EnhancementRecord& record, uint16_t scanMode, bool swapRedBlue) {
    const ColorAdjustInputs inputs = InputsFor(record, scanMode, swapRedBlue);
    if (!ThePrepared.valid || !SameInputs(inputs, ThePrepared.inputs)) {
        ThePrepared.inputs = inputs;
        PrepareColorAdjust(inputs, ThePrepared.plan);
        ThePrepared.valid = true;
    }
    RunColorAdjust(ThePrepared.plan, size_t(pixelsPerLine) * lines, dst, src);
}

void ResetEnhancements(ScanSettings& settings, EnhancementRecord& working,
                       bool colourManagementApplication) {
    const bool colour8 = settings.ScanMode == kModeColor &&
                         (settings.ScanSubMode == kSubMode24Bit ||
                          settings.ScanSubMode == kSubModeCmyk);
    const uint8_t gamma = colour8 && !colourManagementApplication ? 18 : 10;
    for (EnhancementRecord* e : {&settings.Enhancement, &working}) {
        NeutraliseColorChannels(*e);
        for (Channel c : {kRed, kGreen, kBlue}) e->channel[c].gamma = gamma;
        e->Channel = 0;
    }
    settings.FilterMode = 0;
}
