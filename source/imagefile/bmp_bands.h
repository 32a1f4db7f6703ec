// Placing the rows of a BMP band by band. The scan delivers the top row first, the file
// stores the bottom row first: the first band ends at the end of the file and each later
// band ends where the previous one began. Rows are converted into one half of a staging block
// of a few megabytes while the other half is being written by a second thread, one write per
// half, so memory stays bounded whatever the image size and the conversion costs no time of
// its own.
#pragma once

#include <cstdint>
#include <memory>

#include "bmp_layout.h"
#include "platform.h"
#include "write_behind.h"

constexpr uint32_t kBmpStagingBytes = 2u << 20;  // each of the two halves

struct BmpBands {
    plat::FileHandle file = plat::kNoFile;
    BmpGeometry geometry;
    uint32_t lineBytes = 0;  // length of one delivered line
    uint64_t nextEnd = 0;    // file offset where the next band's rows end
    uint32_t rowsLeft = 0;
    plat::MemHandle staging = nullptr;
    uint8_t* stagingRows = nullptr;  // two halves of stagingCapacity rows each
    uint32_t stagingCapacity = 0;    // rows one half holds
    uint32_t nextHalf = 0;           // the half the next rows are converted into
    std::unique_ptr<WriteBehind> writer;
};

// Prepares placing the rows of g into file (its header written by WriteBmpHeader). Delivered
// lines are lineBytes long and must hold the row's pixels. Each half of the staging block holds
// as many whole rows as fit stagingBytes, at least one. The file is the writer's until
// EndBmpBands. False when the geometry does not fit, the lines are too short, or the staging
// block cannot be allocated.
bool BeginBmpBands(BmpBands* bands, plat::FileHandle file, const BmpGeometry& g,
                   uint32_t lineBytes, uint32_t stagingBytes = kBmpStagingBytes);

// Places the next rowCount delivered lines (top to bottom, lineBytes apart). False, with
// nothing written, when they are more than the rows left; false when a seek or write fails
// (a failed write may be reported by the band after it, or by EndBmpBands).
bool WriteBmpBand(BmpBands* bands, const uint8_t* lines, uint32_t rowCount);

// Waits for the last write and frees the staging block (also after a failure); true when
// every row was placed.
bool EndBmpBands(BmpBands* bands);
