// The image sensor: one white level per element and channel. Elements differ from each other
// (lamp fall-off towards the ends, element-to-element sensitivity), so a scan without a correct
// shading calibration shows column banding.
#pragma once

#include <cstdint>
#include <vector>

#include "simulator/device/profile.h"

struct SensorModel {
    uint32_t elements = 0;             // across the wide area at the optical scale
    std::vector<uint16_t> white[3];    // 12-bit white response per element: red, green, blue
};

// The channel the single-channel modes (line art, fast gray) read.
constexpr int kSingleChannelSensor = 1;

void BuildSensor(const ScannerProfile& profile, uint32_t seed, SensorModel& sensor);

// The 12-bit white levels the sensor may take for calibration value v: the divisors of
// v x 4095 between 3000 and 3800, so that the data source's level correction of such a level is
// an exact integer; every level in that range when v has too few of them.
std::vector<uint16_t> WhiteLevelsFor(uint16_t v);

// One sample of the white reference as the sensor reports it on shading line `line` of `lines`:
// the white level, replaced on a few lines by an impulsive low or high outlier (dust, noise
// spikes; at most two low and two high per position, so an average with the extremes dropped
// recovers the level exactly). The top four bits carry the line number; readers mask them off.
uint16_t ShadingSample(uint16_t white, uint32_t position, uint32_t line, uint32_t lines,
                       uint32_t seed);

uint64_t MixBits(uint64_t x);
