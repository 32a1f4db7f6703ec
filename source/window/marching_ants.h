// The running frame around the scan region: an 8 x 8 monochrome brush of diagonal stripes,
// turned by one row on every tick so that the stripes appear to run.
#pragma once

#include <cstdint>

struct AntsPattern {
    uint8_t rows[8] = {0x1F, 0x3E, 0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F};
};

// Row i takes row i - 1 and row 0 the old row 7.
void AdvanceAnts(AntsPattern& p);
