// Placing the rows of a BMP band by band. The scan delivers the top row first, the file
// stores the bottom row first: the first band ends at the end of the file and each later
// band ends where the previous one began. Lines that already hold the stored bytes (gray,
// line art, and colour that the line preparation turned into blue, green, red) go to the
// file as they are, a band's rows in reverse order as one gathered write; others are
// converted into a staging block of at most a few megabytes and written with one write per
// staging block. Memory stays bounded whatever the image size.
#pragma once

#include <cstdint>

#include "imagefile/bmp_layout.h"
#include "platform/platform.h"

constexpr uint32_t kBmpStagingBytes = 4u << 20;
// Rows per gathered write: two segments each (the row and its padding) stay within what
// every system takes in one call.
constexpr uint32_t kBmpGatherRows = 256;

struct BmpBands {
    plat::FileHandle file = plat::kNoFile;
    BmpGeometry geometry;
    uint32_t lineBytes = 0;  // length of one delivered line
    uint64_t nextEnd = 0;    // file offset where the next band's rows end
    uint32_t rowsLeft = 0;
    plat::MemHandle staging = nullptr;
    uint8_t* stagingRows = nullptr;
    uint32_t stagingCapacity = 0;  // rows the staging block holds
    bool linesStored = false;      // lines hold the stored bytes: copied, never converted
    bool gather = false;           // ... and are long enough to go to the file as they are
    plat::FileSegment segments[2 * kBmpGatherRows];
};

// Prepares placing the rows of g into file (its header written by WriteBmpHeader). Delivered
// lines are lineBytes long and must hold the row's pixels; colour lines in the given order.
// The staging block holds as many whole rows as fit stagingBytes, at least one. False when
// the geometry does not fit, the lines are too short, or the staging block cannot be
// allocated.
bool BeginBmpBands(BmpBands* bands, plat::FileHandle file, const BmpGeometry& g,
                   uint32_t lineBytes, ColourOrder order = ColourOrder::Scanned,
                   uint32_t stagingBytes = kBmpStagingBytes);

// Places the next rowCount delivered lines (top to bottom, lineBytes apart). False, with
// nothing written, when they are more than the rows left; false when a seek or write fails.
bool WriteBmpBand(BmpBands* bands, const uint8_t* lines, uint32_t rowCount);

// Frees the staging block (also after a failure); true when every row was placed.
bool EndBmpBands(BmpBands* bands);
