// The level-correction tables: four 4096-entry curves, one per calibration value the scanner
// reported in its inquiry reply, built when a local scanner is enabled. The shading step
// reads the first three (red, green, blue) to convert its white-reference averages.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int kLevelCorrectionChannels = 4;
constexpr int kLevelCorrectionEntries = 4096;

// Movable zero-filled blocks of 4096 unsigned 16-bit entries; null while unbuilt.
struct LevelCorrectionRecord {
    plat::MemHandle table[kLevelCorrectionChannels] = {};
};
extern LevelCorrectionRecord LevelCorrectionTables;

// Entry i of the curve for calibration value v: flat at v below 2048, then
// (v x 4095 - 1023 x i) / i rounded to nearest, negative quotients giving 0.
uint16_t LevelCorrectionEntry(uint16_t v, int i);

// Replaces the tables with ones built from the four calibration values. When a block cannot
// be allocated or locked, every table is left unbuilt and false is returned; the shading
// measurement that needs them tries again and reports the shortage.
bool BuildLevelCorrectionTables(const uint16_t (&calibration)[kLevelCorrectionChannels]);

// Frees the blocks (source closed, or process-attach state for the tests).
void FreeLevelCorrectionTables();
