// The row arithmetic of every transfer: how many pixels and bytes a delivered row has, how
// many rows the scanned lines become, and how many rows fit an application buffer. All
// sizes are computed in 64 bits; a result that does not fit the 32-bit TWAIN fields is
// treated as "no row fits".
#pragma once

#include <cstdint>

#include "engine/resolution_plan.h"
#include "imagefile/pixel_layout.h"

struct RowInput {
    uint32_t bytesPerLine = 0;  // a line before enlargement: as scanned, or reduced
    uint16_t scanMode = 0;      // 1011-1014
    uint16_t subMode = 0;       // colour sub-mode
    ResolutionPlan plan;        // how lines are enlarged (factor 1: not at all)
};

struct RowShape {
    uint32_t scanBytes = 0;         // one scanned line
    uint32_t lineBytes = 0;         // one line before enlargement
    uint32_t pixels = 0;            // pixels of a delivered row (the image information's width)
    uint32_t rowBytes = 0;          // one delivered row in the application's buffer
    uint32_t replyBytesPerRow = 0;  // BytesPerRow of the TW_IMAGEMEMXFER answer
    uint32_t rowsPerLine = 1;       // delivered rows per line at most (the enlargement)
    bool thinned = false;           // the enlargement overshoots and rows are dropped
    bool cmyk = false;              // rows are converted to four bytes per pixel
};

constexpr uint32_t kCmykBlockBytes = 49152;  // CMYK blocks are cut as if the buffer held this

// Pixels of a line of `bytes` in the mode: line art 8 a byte, colour 3 bytes, 36-bit 6.
uint32_t LinePixels(uint32_t bytes, uint16_t scanMode, uint16_t subMode);

// The shape of the rows for a started scan. False when a size does not fit 32 bits, or the
// lines are 16-bit samples that would have to be enlarged.
bool ShapeRows(const RowInput& in, RowShape* shape);

// Rows of one block for an application buffer of bufferBytes: the buffer divided by the row
// length (49,152 bytes for CMYK, at least the rows of one line), two fewer for line art, room for the rows of whole lines
// when lines are enlarged, and never more than the buffer holds at the answered row length.
// Zero or less means not one row fits.
int64_t RowsPerBlock(const RowShape& shape, uint16_t scanMode, uint32_t bufferBytes);

// The layout the image takes in a TIFF or BMP file. CMYK scans are written as the 24-bit
// colour they were scanned in: the files have no CMYK layout.
bool FileLayoutOf(uint16_t scanMode, uint16_t subMode, PixelLayout* layout);
