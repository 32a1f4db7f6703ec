// The row arithmetic of memory and file transfers: how long a delivered row is, how many
// output rows one scanned line becomes, and how many rows fit an application buffer. All
// sizes are computed in 64 bits; a result that does not fit the 32-bit TWAIN fields is
// treated as "no row fits".
#pragma once

#include <cstdint>

#include "pixel_layout.h"

struct RowInput {
    uint32_t bytesPerLine = 0;  // as the scanner delivers a line
    uint16_t scanMode = 0;      // 1011-1014
    uint16_t subMode = 0;       // colour sub-mode
    uint32_t effectiveResolution = 0;
    bool halfResolutionScan = false;
    uint16_t dpiScale = 0;
    uint16_t scaling = 100;     // output scaling in percent
    uint16_t scanRes = 0;       // "ScanRes"
};

struct RowShape {
    uint32_t scanBytes = 0;         // one scanned line
    uint32_t lineBytes = 0;         // one line after horizontal widening, before interpolation
    uint32_t rowBytes = 0;          // one delivered row in the application's buffer
    uint32_t replyBytesPerRow = 0;  // BytesPerRow of the TW_IMAGEMEMXFER answer
    uint32_t rowsPerLine = 1;       // delivered rows per scanned line (interpolation)
    bool widened = false;           // lines are widened (effective resolution above 600)
    bool cmyk = false;              // rows are converted to four bytes per pixel
};

constexpr uint32_t kCmykBlockBytes = 49152;  // CMYK blocks are cut as if the buffer held this

// The shape of the rows for a started scan. False when a size does not fit 32 bits.
bool ShapeRows(const RowInput& in, RowShape* shape);

// Rows of one block for an application buffer of bufferBytes: the buffer divided by the row
// length (49,152 bytes for CMYK), two fewer for line art, a whole number of scanned lines
// with interpolation, and never more than the buffer holds at the answered row length.
// Zero or less means not one row fits.
int64_t RowsPerBlock(const RowShape& shape, uint16_t scanMode, uint32_t bufferBytes);

// The layout the image takes in a TIFF or BMP file. CMYK scans are written as the 24-bit
// colour they were scanned in: the files have no CMYK layout.
bool FileLayoutOf(uint16_t scanMode, uint16_t subMode, PixelLayout* layout);
