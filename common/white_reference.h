// The white level of every sample position of a shading measurement.
#pragma once

#include <cstdint>

// The white level of one sample position over all shading lines, extremes dropped
// (three at each end for one channel, six low and two high for three channels). values is
// reordered. Returns false when there are too few lines to drop them.
bool WhiteReference(uint16_t* values, uint32_t lines, bool colour, uint16_t& average);

// averages[s] = WhiteReference of sample position s (12-bit little-endian samples after
// lead bytes) over lineCount lines, for s below positions. Returns false when there are too
// few lines.
bool WhiteReferences(const uint8_t* const* lines, uint32_t lineCount, uint32_t lead,
                     uint32_t positions, bool colour, uint16_t* averages);
