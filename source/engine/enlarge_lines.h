// Scans above the optical resolution: every scanned line is enlarged k times in both
// directions (InterpolateBlock) and, when k x A overshoots the effective resolution E, the
// enlarged rows and columns are thinned to E. Delivered row j is enlarged row
// ceil((j + 1) x kA / E) - 1, and delivered column c likewise, so n enlarged rows give
// floor(n x E / kA) rows and the image is E dots per inch in both directions.
//
// Rows are written `stride` bytes apart, which may be negative (a bottom-up bitmap). Every
// delivered row is rowBytes long: bytes after its pixels are zero, and line-art bits after
// its last pixel are white (1).
#pragma once

#include <cstdint>

#include "engine/interpolate_block.h"
#include "engine/resolution_plan.h"
#include "engine/sample_kind.h"
#include "platform/platform.h"

struct Enlargement {
    InterpolationState interpolation;
    uint32_t base = 0;             // k x A
    uint32_t target = 0;           // E
    bool thinned = false;
    uint32_t columns = 0;          // delivered pixels of a row
    uint32_t rowBytes = 0;         // delivered bytes of a row
    uint64_t enlargedRows = 0;     // enlarged rows produced so far
    uint64_t deliveredRows = 0;    // rows delivered so far
    uint32_t* columnSource = nullptr;  // enlarged pixel of every delivered column
    uint8_t* enlarged = nullptr;       // the k enlarged rows of one line
    plat::MemHandle block = nullptr;
};

// Prepares the enlargement of lines of lineBytes into rows of rowBytes (at least the
// delivered pixels' bytes). Any earlier state is freed first. False (nothing held) when the
// plan enlarges nothing, the line cannot be interpolated, or an allocation fails.
bool BeginEnlargement(SampleKind kind, uint32_t lineBytes, const ResolutionPlan& plan,
                      uint32_t rowBytes, Enlargement* e);
void EndEnlargement(Enlargement& e);

// Enlarges `count` lines (back to back) into the rows that follow the ones already
// delivered, at most k x count of them; *written receives how many. False when nothing was
// prepared or count is 0.
bool EnlargeLines(Enlargement& e, const uint8_t* lines, uint32_t count, uint8_t* rows,
                  int64_t stride, uint32_t* written);
