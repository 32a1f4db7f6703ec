// Scans above the optical resolution: the scanner scans at a fraction of the effective
// resolution and every block of lines is enlarged by a factor F in both directions, F = 2,
// 4, 6 or 8. Each source line becomes F rows of F times its bytes.
//
// Gray and colour cells are filled from the sample p, its right neighbour q, the sample
// below d and the one below right e. For F = 2: p, (p + q) >> 1 on the first row and
// (p + d) >> 1, (p + e) >> 1 on the second. For F = 4, 6, 8 the cell is split by repeated
// truncating means: a pair (a, b) gives F values from a towards b, halving the gap
// (F = 4: a, (a + m) >> 1, m, (m + b) >> 1 with m = (a + b) >> 1; F = 8 halves once more),
// or for F = 6 halving it and then taking thirds of each half's difference
// (a, a + (m - a) / 3, a + 2 (m - a) / 3, m, m + (b - m) / 3, m + 2 (b - m) / 3, truncating
// towards zero). The top row splits (p, q), the bottom neighbour row splits (d, e), and each
// column u of the cell splits (top[u], bottom[u]) downwards. A cell in the last column is p
// throughout. Colour does this per sample with neighbours three bytes apart; line art
// repeats every bit F times across and every row F times down.
//
// Rows are interpolated towards the row after them, which for a block's last row is not yet
// there. A block therefore pairs the row kept from the block before with its first row, then
// each of its rows with the next, and keeps its last row. The first block of an image keeps
// its own first row in advance, so its first cell row is that row's own (d = p). Every block
// of n lines gives F x n rows.
#pragma once

#include <cstdint>

#include "engine/sample_kind.h"
#include "platform/platform.h"

struct InterpolationState {
    SampleKind kind = SampleKind::Gray;
    uint32_t lineBytes = 0;     // a source line
    uint32_t factor = 2;        // F
    uint32_t outLineBytes = 0;  // F x lineBytes
    bool hasKept = false;       // false until the image's first block
    uint8_t* kept = nullptr;    // the last line of the previous block
    uint8_t* scratch = nullptr; // F whole rows, for a caller's shorter rows
    uint8_t* bitTable = nullptr;  // line art: each byte value spread to F bytes
    plat::MemHandle block = nullptr;
};

// Prepares the interpolation of an image's lines of lineBytes by `factor` (2, 4, 6 or 8).
// Any earlier state in `state` is freed first. False (nothing held) for another factor, an
// empty line, a colour line shorter than a pixel or a failed allocation.
bool BeginInterpolation(SampleKind kind, uint32_t lineBytes, uint32_t factor,
                        InterpolationState* state);
void EndInterpolation(InterpolationState& state);

// Enlarges `count` lines (lineBytes each, back to back) into F x count rows of rowBytes: a
// row shorter than F x lineBytes takes the start of the row, a longer one is padded with
// zeros. The rows must not overlap the lines. False when nothing was prepared or count is 0.
bool InterpolateBlock(InterpolationState& state, const uint8_t* lines, uint32_t count,
                      uint8_t* rows, uint32_t rowBytes);
