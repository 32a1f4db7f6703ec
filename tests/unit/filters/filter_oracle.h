// The filters' formulas written out plainly, one sample at a time, as the reference the
// optimised kernels are compared with. Nothing here is shared with the kernels.
#pragma once

#include "tests/unit/filters/test_images.h"

// Whole-image filters (rows in stored order).
Grid OracleBlur(Grid g, int passes);
Grid OracleSharpen(Grid g, int passes);
Grid OracleUnsharp(const Grid& g);
Grid OracleEmboss(const Grid& g);
Grid OracleFlip(const Grid& g);

// The weighted 3 x 3 of the band path over a whole image, edges replicated.
Grid OracleConvolve(const Grid& g, int corner, int edge, int centre);

// The band path's rows read back from a spool file (gray or colour).
Grid OracleRowBlur(Grid g, int passes);
Grid OracleRowSharpen(Grid g, int passes);
Grid OracleRowEmboss(const Grid& g);
