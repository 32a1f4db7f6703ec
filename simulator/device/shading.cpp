#include "simulator/device/shading.h"

#include <algorithm>

ShadingLayout PlanShading(uint8_t colourType, bool fromDataSource, uint32_t pixels) {
    ShadingLayout s;
    const bool single = colourType == kColourTypeLineArt || colourType == kColourTypeFastGray;
    s.kind = single ? kShadingKindSingle : kShadingKindThree;
    s.channels = single ? 1 : 3;
    s.lead = (single || !fromDataSource) ? 2 : 6;
    const uint32_t fixed = single ? 2 : 6;  // lead plus trailing bytes
    for (s.cellWidth = 1;; ++s.cellWidth) {
        s.cells = (pixels + s.cellWidth - 1) / s.cellWidth;
        s.bytesPerLine = fixed + 2 * s.channels * s.cells;
        if (s.bytesPerLine <= 0xFFFF) break;
    }
    return s;
}

uint16_t LevelCorrection(uint16_t v, uint16_t i) {
    if (i < 2048) return v;
    const int32_t numerator = int32_t(v) * 4095 - 1023 * int32_t(i);
    const int32_t q = numerator / int32_t(i), r = numerator % int32_t(i);
    if (q < 0) return 0;
    return uint16_t(int32_t(i) < 2 * r ? q + 1 : q);
}

uint32_t UnshadedGain(uint16_t w) {
    return uint32_t((uint64_t(w) * 131072 + 4095) / 8190);
}

uint32_t ShadingGain(uint16_t w, uint16_t t, uint16_t v) {
    if (v == 0) return UnshadedGain(w);
    const uint64_t den = uint64_t(v) * 4095;
    const uint64_t g = (uint64_t(w) * (uint64_t(t) + 1023) * 131072 + den) / (2 * den);
    return uint32_t(std::min<uint64_t>(g, 0xFFFFF));
}

uint16_t ColumnWhite(const SensorModel& sensor, int channel, const ScanWindow& window,
                     uint32_t scale, uint32_t column) {
    uint32_t e = SampleUnit(window.xStart, column, window.resolution, scale);
    if (e >= sensor.elements) e = sensor.elements - 1;
    return sensor.white[channel][e];
}

namespace {

int SensorChannel(const ShadingLayout& layout, uint32_t ch) {
    return layout.channels == 3 ? int(ch) : kSingleChannelSensor;
}

uint16_t CalibrationFor(const ShadingLayout& layout, uint32_t ch,
                        const uint16_t (&calibration)[4]) {
    return layout.channels == 3 ? calibration[ch] : calibration[3];
}

}  // namespace

void WriteShadingLine(const SensorModel& sensor, const ShadingLayout& layout,
                      const ScanWindow& window, uint32_t scale, uint32_t line, uint32_t lines,
                      uint32_t seed, uint8_t* out) {
    std::fill(out, out + layout.bytesPerLine, 0);
    uint8_t* p = out + layout.lead;
    for (uint32_t cell = 0; cell < layout.cells; ++cell) {
        for (uint32_t ch = 0; ch < layout.channels; ++ch) {
            const uint16_t w = ColumnWhite(sensor, SensorChannel(layout, ch), window, scale,
                                           cell * layout.cellWidth);
            const uint32_t position = cell * layout.channels + ch;
            const uint16_t sample = ShadingSample(w, position, line, lines, seed);
            *p++ = uint8_t(sample);
            *p++ = uint8_t(sample >> 8);
        }
    }
}

void ColumnGains(const SensorModel& sensor, const ShadingLayout& layout,
                 const ScanWindow& window, uint32_t scale, uint32_t pixels,
                 const uint16_t (&calibration)[4], const std::vector<uint16_t>& coefficients,
                 std::vector<uint32_t> (&gains)[3]) {
    const bool shaded = coefficients.size() == layout.Samples();
    for (uint32_t ch = 0; ch < 3; ++ch) gains[ch].clear();
    for (uint32_t ch = 0; ch < layout.channels; ++ch) {
        const int sensorChannel = SensorChannel(layout, ch);
        const uint16_t v = CalibrationFor(layout, ch, calibration);
        gains[ch].resize(pixels);
        for (uint32_t j = 0; j < pixels; ++j) {
            const uint16_t w = ColumnWhite(sensor, sensorChannel, window, scale, j);
            gains[ch][j] =
                shaded ? ShadingGain(w, coefficients[ch * layout.cells + j / layout.cellWidth], v)
                       : UnshadedGain(w);
        }
    }
}

std::vector<uint16_t> IdealCoefficients(const SensorModel& sensor, const ShadingLayout& layout,
                                        const ScanWindow& window, uint32_t scale,
                                        const uint16_t (&calibration)[4]) {
    std::vector<uint16_t> t(layout.Samples());
    for (uint32_t ch = 0; ch < layout.channels; ++ch)
        for (uint32_t cell = 0; cell < layout.cells; ++cell) {
            const uint16_t w = ColumnWhite(sensor, SensorChannel(layout, ch), window, scale,
                                           cell * layout.cellWidth);
            t[ch * layout.cells + cell] = LevelCorrection(CalibrationFor(layout, ch, calibration), w);
        }
    return t;
}
