// The prescan's read loop: bands of scanner lines into the bitmap's rows, bottom row first.
#pragma once

#include <cstdint>

#include "common/scan_buffers.h"
#include "prescan/prescan_session.h"

// The image as it will be written: `lines` rows of `rowBytes`, the scanner's first line in
// the last row. Rows that receive no line stay zero.
struct PrescanImage {
    uint8_t* rows = nullptr;
    uint32_t lines = 0;
    uint32_t rowBytes = 0;
    uint32_t pixels = 0;
};

struct ReadOutcome {
    uint32_t linesRead = 0;
    bool cancelled = false;  // Escape
    bool failed = false;     // a read's status (reported, scanner stopped) or a lost connection
};

// Reads `delivered` lines of `bytesPerLine` through the buffers, pumping the caller's messages
// between reads; Escape ends the loop (the caller stops the scanner).
ReadOutcome ReadPrescanLines(PrescanSession& s, const ScanBuffers& buffers, uint32_t bytesPerLine,
                             uint32_t delivered, PrescanImage& image);
