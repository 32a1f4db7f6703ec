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
    Deep,     // 36-bit colour: 6 bytes per pixel, three samples of 12 bits at the top of 16
};

// Filters count rows of rowBytes bytes stored back to back. Line art and deep colour take
// invert and flip only (deep samples are inverted within their 12 bits). Emboss compares each
// row with the row after it: `next` is the row after the block (nullptr at the image's end,
// where the last row repeats the one before it), so that blocks of any size give what the
// whole image gives. Returns false, leaving the rows as they were, when a row copy cannot be
// allocated or a row is not made of whole pixels.
bool FilterSpooledRows(uint8_t* rows, uint32_t count, uint32_t rowBytes, RowKind kind,
                       uint16_t filterMode, const uint8_t* next = nullptr);
