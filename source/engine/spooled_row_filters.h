// The "FilterMode" pass over rows read back from a spool file (memory and file transfers
// that post-process). Each filter works on the rows handed over, one block at a time:
// horizontal blur and sharpen within each row, emboss between the rows of the block.
// Unsharp mask is not here: it ran while the bands were read (convolve_band.h).
#pragma once

#include <cstdint>

enum class RowKind : uint8_t {
    LineArt,  // 1 bit per pixel, most significant bit first
    Gray,     // 1 byte per pixel
    Colour,   // 3 bytes per pixel, each sample filtered on its own
};

// Filters count rows of rowBytes bytes stored back to back. Line art takes invert and flip
// only. Returns false, leaving the rows as they were, when a row copy cannot be allocated
// or a colour row is not made of whole pixels.
bool FilterSpooledRows(uint8_t* rows, uint32_t count, uint32_t rowBytes, RowKind kind,
                       uint16_t filterMode);
