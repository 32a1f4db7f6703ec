// The 8-bit conversion of the preview, a row at a time: palette indexes from 24-bit pixels
// stored blue, green, red.
#pragma once

#include <cstdint>

// The standard 8 x 8 ordered-dither (Bayer) matrix, values 0-63.
extern const uint8_t kBayer8[8][8];

// Line art and the gray modes: index (R + G + B) / 3.
void GrayRowToIndexes(const uint8_t* bgr, uint32_t pixels, uint8_t* out);

// Colour: ordered dither to the 3-3-2 palette. Pixel x of stored row y takes
// d = kBayer8[y mod 8][(x0 + x) mod 8]; red and green are rounded to 32 levels apart and blue
// to 64 (r = ((R + d) with the low 5 bits cleared) + 16 - d, clamped to 0..255; blue with 6
// bits and + 32), and the index holds the top 3, 3 and 2 bits of r, g and b.
void DitherRowToIndexes(const uint8_t* bgr, uint32_t pixels, uint32_t x0, uint32_t y,
                        uint8_t* out);
