// Mirroring one row left to right, shared by the whole-image flip and the flip of rows read
// back from a spool file.
#pragma once

#include <cstdint>

// The first `pixels` bits of a 1-bit row (most significant bit first) mirrored: with a
// whole number of bytes this is the byte order reversed and the bits of each byte reversed.
// Bits after the last pixel are kept. copy must hold (pixels + 7) / 8 bytes.
void FlipBitRow(uint8_t* row, uint32_t pixels, uint8_t* copy);

// The order of `pixels` pixels of pixelBytes (1 to 16) bytes each reversed in place; each
// pixel keeps its own byte order.
void FlipPixelRow(uint8_t* row, uint32_t pixels, uint32_t pixelBytes);
