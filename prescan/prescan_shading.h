// Shading for the prescan: measured and computed here for a local scanner (white levels
// through the data source's conversion tables), left to the server for a remote one; the
// coefficients, or the ones the data source keeps, sent back to the scanner.
#pragma once

#include <cstdint>
#include <vector>

#include "prescan/prescan_session.h"

// The coefficients of one measurement: 16-bit values as three channel planes (all red, then
// all green, then all blue), split into high and low bytes.
struct PrescanCoefficients {
    std::vector<uint8_t> high, low;
    uint32_t samples = 0;  // all three planes
};

// From `lines` shading lines of `lineBytes` (a 2-byte lead, then red, green and blue 16-bit
// samples interleaved): per sample position the white level (12 bits, the three lowest and
// three highest lines dropped), converted through its channel's table. False when there are
// too few lines or a table is missing.
bool ComputePrescanCoefficients(const uint8_t* const* lines, uint32_t lineCount, uint32_t lineBytes,
                                const uint16_t* const (&conversion)[3], PrescanCoefficients& out);

// Writes the green plane into the store's two tables (as far as their entries reach) and
// records how many samples they now keep.
void KeepGreenPlane(const PrescanCoefficients& c, PrescanShadingStore& store);

// Step by step as the set-up's reply asks: measure, send, or send what the store keeps.
// False after the failure was reported (status message and ScanRequestStop) or, for a
// measurement without memory or tables, without a message.
bool PrescanShading(PrescanSession& s, uint16_t resolution);
