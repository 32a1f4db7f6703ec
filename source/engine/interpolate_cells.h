// The row-pair kernels of the block interpolation: one source row p and the row below it d
// become F output rows (see interpolate_block.h for the cell rules).
#pragma once

#include <cstdint>

// F = 2 on gray samples: n samples into two rows of 2n.
void InterpolateGrayPair2(const uint8_t* p, const uint8_t* d, uint32_t n, uint8_t* top,
                          uint8_t* bottom);
// F = 2 on colour: n pixels into two rows of 6n bytes.
void InterpolateColourPair2(const uint8_t* p, const uint8_t* d, uint32_t n, uint8_t* top,
                            uint8_t* bottom);
// F = 4, 6 or 8 on n pixels of `step` bytes (1 gray, 3 colour) into F rows of F x n x step.
void InterpolatePairSplit(const uint8_t* p, const uint8_t* d, uint32_t n, uint32_t step,
                          uint32_t factor, uint8_t* const* rows);

// The F values of splitting (a, b) by repeated truncating means, a first.
void SplitPair(int a, int b, uint32_t factor, int* out);
