// Shading as the hardware does it: the white-reference lines it reports, the per-sample
// coefficients it is sent back, and the per-column gain those coefficients give.
//
// A coefficient t for a column whose white average was w is the data source's level
// correction, t = v x 4095 / w - 1023 (v the calibration value of the channel's table). The
// hardware multiplies the column's signal by (t + 1023) / v, so a correct coefficient scales
// the white level w to 4095 and every column alike: the column gains cancel. Without
// coefficients the multiplier is 1 and the columns keep their own white levels.
#pragma once

#include <cstdint>
#include <vector>

#include "simulator/device/scan_geometry.h"
#include "simulator/device/sensor.h"

// Where the white-reference samples lie in one shading line.
struct ShadingLayout {
    uint8_t kind = 0;        // kShadingKindSingle or kShadingKindThree
    uint32_t channels = 0;   // 1 or 3 (interleaved red, green, blue)
    uint32_t cells = 0;      // samples per channel
    uint32_t cellWidth = 1;  // image columns per sample (2 when a line would pass 65535 bytes)
    uint32_t lead = 0;       // bytes before the first sample
    uint32_t bytesPerLine = 0;
    uint32_t Samples() const { return cells * channels; }
};

// Single-channel modes (line art, fast gray): a 2-byte lead, then the samples. The other modes:
// three interleaved channels after a 6-byte lead for the data source; the prescan library reads
// its lines from byte 2 on, so its set-up gets a 2-byte lead and four trailing bytes instead.
ShadingLayout PlanShading(uint8_t colourType, bool fromDataSource, uint32_t pixels);

// The data source's level-correction table entry for white average i (0-4095).
uint16_t LevelCorrection(uint16_t v, uint16_t i);

// 16.16 fixed-point gain for a column of white level w given coefficient t and calibration v;
// below 16.
uint32_t ShadingGain(uint16_t w, uint16_t t, uint16_t v);
uint32_t UnshadedGain(uint16_t w);

// Writes one shading line: the lead bytes (zero), the samples (little-endian), trailing bytes.
void WriteShadingLine(const SensorModel& sensor, const ShadingLayout& layout,
                      const ScanWindow& window, uint32_t scale, uint32_t line, uint32_t lines,
                      uint32_t seed, uint8_t* out);

// White level of the sensor channel under image column `column`.
uint16_t ColumnWhite(const SensorModel& sensor, int channel, const ScanWindow& window,
                     uint32_t scale, uint32_t column);

// Per-column gains for a scan, one vector per shaded channel (three for the colour layouts, one
// for the single-channel layout). `coefficients` are the samples last sent (laid out as
// channel planes), or empty for an unshaded scan.
void ColumnGains(const SensorModel& sensor, const ShadingLayout& layout,
                 const ScanWindow& window, uint32_t scale, uint32_t pixels,
                 const uint16_t (&calibration)[4], const std::vector<uint16_t>& coefficients,
                 std::vector<uint32_t> (&gains)[3]);

// The coefficients a correct calibration computes for this scan: the level correction of
// each cell's exact white level.
std::vector<uint16_t> IdealCoefficients(const SensorModel& sensor, const ShadingLayout& layout,
                                        const ScanWindow& window, uint32_t scale,
                                        const uint16_t (&calibration)[4]);
