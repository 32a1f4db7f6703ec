#include "transfer_steps.h"

#include <cstring>

#include "color_adjust.h"
#include "scan_settings.h"

namespace {

bool AdjustsColour(const StepContext& step) {
    return step.scanMode == kModeColor &&
           (step.subMode == kSubMode24Bit || step.subMode == kSubModeCmyk);
}

bool TwelveBitColour(const StepContext& step) {
    return step.scanMode == kModeColor && step.subMode == kSubMode36Bit;
}

}  // namespace

void ScaleTwelveBitSamples(uint8_t* line, uint32_t bytes) {
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
        const uint32_t sample = ((line[i] | uint32_t(line[i + 1]) << 8) & 4095u) * 16u;
        line[i] = uint8_t(sample);
        line[i + 1] = uint8_t(sample >> 8);
    }
}

void PrepareScannerLines(const StepContext& step, uint8_t* lines, uint32_t count,
                         bool adjustColour) {
    const uint32_t bytes = step.shape.scanBytes;
    if (AdjustsColour(step) && adjustColour) {
        ApplyColorAdjust(bytes / 3, count, lines, lines, TheToneColour.current, step.scanMode);
    } else if (TwelveBitColour(step)) {
        ScaleTwelveBitSamples(lines, uint32_t(uint64_t(bytes) * count));
    }
}

void DeliverLine(const StepContext& step, const uint8_t* line, uint8_t* out, bool invert) {
    const uint32_t bytes = step.shape.scanBytes;
    if (invert) {
        for (uint32_t i = 0; i < bytes; ++i) out[i] = uint8_t(~line[i]);
    } else if (!step.shape.widened) {
        std::memcpy(out, line, bytes);
    } else {
        WidenLine(step, line, out);
    }
}

// Filled in with the resolution scaling.
void WidenLine(const StepContext&, const uint8_t*, uint8_t*) {}

// Filled in with the band filters of the image filters and the descreen drop maps.
BandRows UnsharpMaskBand(const StepContext&, BandRows band, uint32_t) { return band; }
BandRows DescreenBand(const StepContext&, BandRows band, uint32_t) { return band; }
BandRows ReduceDescreenedBand(const StepContext&, BandRows band) { return band; }

// Filled in with output matching and the spooled filters.
void ApplyOutputMatching(const StepContext&, uint8_t*, uint32_t, uint32_t) {}
void FilterSpooledBlock(const StepContext&, uint8_t*, uint32_t, uint32_t) {}

// Filled in with the resolution scaling and the CMYK tables.
void InterpolateBlock(const StepContext&, const InterpolationShape&, const uint8_t*, uint32_t,
                      uint8_t*) {}
void ConvertBlockToCmyk(const StepContext&, uint8_t*, uint32_t) {}
