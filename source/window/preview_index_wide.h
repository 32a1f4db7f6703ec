// The preview's 8-bit conversion 64 pixels at a time, on processors with AVX-512 VBMI (see
// engine/byte_table_wide.h for when these may run). Same indexes as the scalar rows of
// preview_dither.h.
#pragma once

#include <cstddef>
#include <cstdint>

// The ordered dither of whole 64-pixel blocks of stored row y whose first pixel is at a
// column divisible by 8. Returns the pixels done (a multiple of 64, possibly 0).
size_t DitherPixelsWide(const uint8_t* bgr, size_t pixels, uint32_t y, uint8_t* out);

// (R + G + B) / 3 of whole 64-pixel blocks. Returns the pixels done.
size_t GrayPixelsWide(const uint8_t* bgr, size_t pixels, uint8_t* out);
