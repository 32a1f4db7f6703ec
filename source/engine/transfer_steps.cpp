#include "engine/transfer_steps.h"

#include <algorithm>
#include <cstring>

#include "engine/cmyk_table.h"
#include "engine/color_adjust.h"
#include "engine/color_table.h"
#include "engine/convolve_band.h"
#include "engine/descreen_reduction.h"
#include "engine/spooled_row_filters.h"
#include "common/red_blue_swap.h"
#include "settings/scan_settings.h"

Enlargement TheEnlargement;

namespace {

constexpr int kUnsharpHistory = 0;
constexpr int kDescreenHistory = 1;

bool AdjustsColour(const StepContext& step) {
    return step.scanMode == kModeColor &&
           (step.subMode == kSubMode24Bit || step.subMode == kSubModeCmyk);
}

bool TwelveBitColour(const StepContext& step) {
    return step.scanMode == kModeColor && step.subMode == kSubMode36Bit;
}

// The band filters average neighbouring samples: gray and 8-bit colour only.
bool FilteredSamples(const StepContext& step, uint32_t* sampleBytes) {
    SampleKind kind;
    if (!ScalableSamples(step, &kind) || kind == SampleKind::LineArt) return false;
    *sampleBytes = SampleStep(kind);
    return true;
}

BandRows Convolve(const StepContext& step, BandRows band, uint32_t capacityRows,
                  const ConvolveWeights& weights, int historySet) {
    uint32_t sampleBytes = 1;
    if (band.count == 0 || !FilteredSamples(step, &sampleBytes)) return band;
    const BandShape shape{step.bandLineBytes, sampleBytes, step.imageLines};
    const ConvolvedRows r = ConvolveBand(band.rows, band.count, capacityRows, shape,
                                         band.firstLine, weights, historySet);
    return BandRows{band.rows, r.firstLine, r.rows, r.filtered};
}

RowKind RowKindOf(const StepContext& step) {
    if (step.scanMode == kModeLineArt) return RowKind::LineArt;
    if (TwelveBitColour(step)) return RowKind::Deep;
    return step.scanMode == kModeColor ? RowKind::Colour : RowKind::Gray;
}

}  // namespace

bool ScalableSamples(const StepContext& step, SampleKind* kind) {
    switch (step.scanMode) {
        case kModeLineArt: *kind = SampleKind::LineArt; return true;
        case kModeFastGray:
        case kModeGray: *kind = SampleKind::Gray; return true;
        case kModeColor: *kind = SampleKind::Colour; return !TwelveBitColour(step);
        default: return false;
    }
}

bool PrepareTransferSteps(const StepContext& step) {
    FreeTransferSteps();
    SampleKind kind;
    if (!ScalableSamples(step, &kind)) return step.shape.rowsPerLine == 1;
    return step.shape.rowsPerLine == 1 ||
           BeginEnlargement(kind, step.shape.lineBytes, step.plan, step.shape.rowBytes,
                            &TheEnlargement);
}

void FreeTransferSteps() {
    EndEnlargement(TheEnlargement);
    FreeConvolveHistories();
}

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
        ApplyColorAdjust(bytes / 3, count, lines, lines, TheToneColour.current, step.scanMode,
                         step.bmpColourOrder);
    } else if (AdjustsColour(step) && step.bmpColourOrder) {
        SwapRedBlueInPlace(lines, size_t(bytes / 3) * count);
    } else if (TwelveBitColour(step)) {
        ScaleTwelveBitSamples(lines, uint32_t(uint64_t(bytes) * count));
    }
}

void DeliverLine(const StepContext& step, const uint8_t* line, uint8_t* out, uint32_t outBytes,
                 bool invert) {
    const uint32_t written = std::min(step.shape.scanBytes, outBytes);
    if (invert) {
        for (uint32_t i = 0; i < written; ++i) out[i] = uint8_t(~line[i]);
    } else {
        std::memcpy(out, line, written);
    }
    if (written < outBytes) std::memset(out + written, 0, outBytes - written);
}

BandRows UnsharpMaskBand(const StepContext& step, BandRows band, uint32_t capacityRows) {
    return Convolve(step, band, capacityRows, kUnsharpMaskWeights, kUnsharpHistory);
}

BandRows DescreenBand(const StepContext& step, BandRows band, uint32_t capacityRows) {
    ConvolveWeights weights;
    if (!DescreenWeights(uint16_t(step.deScreen), &weights)) return band;
    return Convolve(step, band, capacityRows, weights, kDescreenHistory);
}

BandRows ReduceDescreenedBand(const StepContext& step, BandRows band, uint32_t capacityRows) {
    uint32_t sampleBytes = 1;
    if (!FilteredSamples(step, &sampleBytes) || band.count == 0) return band;
    const ReducedRows r =
        ReduceBand(TheDescreenDropMaps, band.rows, band.count, capacityRows, band.firstLine);
    return BandRows{band.rows, r.firstLine, r.kept, r.ok};
}

void ApplyOutputMatching(const StepContext& step, uint8_t* rows, uint32_t count,
                         uint32_t rowBytes) {
    if (!AdjustsColour(step)) return;
    ApplyColorTable(TheColorTable, count, step.shape.lineBytes / 3, rows, rowBytes, false);
}

bool FilterSpooledBlock(const StepContext& step, uint8_t* rows, uint32_t count,
                        uint32_t rowBytes, const uint8_t* next) {
    if (step.filterMode == 0 || step.filterMode == 8) return true;
    return FilterSpooledRows(rows, count, rowBytes, RowKindOf(step), step.filterMode, next);
}

bool EnlargeRows(const StepContext&, const uint8_t* lines, uint32_t count, uint8_t* rows,
                 int64_t stride, uint32_t* written) {
    *written = 0;
    return count == 0 || EnlargeLines(TheEnlargement, lines, count, rows, stride, written);
}

bool ConvertRowsToCmyk(const StepContext& step, uint8_t* rows, uint32_t count,
                       uint64_t capacity) {
    const uint64_t bytes = uint64_t(count) * step.shape.rowBytes;
    if (bytes > UINT32_MAX) return false;
    return ConvertBlockToCmyk(TheCmykTable, rows, uint32_t(bytes),
                              uint32_t(std::min<uint64_t>(capacity, UINT32_MAX)),
                              !step.cmykTableBytes);
}
