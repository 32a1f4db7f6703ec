// Descreening below 300 dpi: the scanner scans at 300 dpi, each descreened band is then
// brought down to the effective resolution by keep/drop maps, every kept sample being the
// 3 x 3 mean of the descreened band around it.
//
// The mean needs the row below, which for a band's last row arrives with the next band, so
// the kept rows trail the input by one row: a band gives back the rows from the line before
// its first (the first band from line 0), and the band that holds the image's last line
// also gives back that line, whose own row serves as the row below. Bands reduced one after
// another therefore give exactly what reducing the whole image at once gives.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Built once per scan job from the line geometry and the effective resolution.
struct DescreenDropMaps {
    plat::MemHandle block = nullptr;  // everything below lives in this one block
    uint8_t* columns = nullptr;       // one entry per byte of a scanner line: 1 keep, 0 drop
    uint8_t* rows = nullptr;          // one entry per line
    uint32_t* keptOffsets = nullptr;  // byte offset of every kept byte, in line order
    uint32_t lineBytes = 0;           // a scanner line at 300 dpi
    uint32_t lines = 0;               // lines of the scanned image
    uint32_t sampleBytes = 1;         // 1 gray, 3 colour
    uint32_t keptBytes = 0;           // bytes of a reduced line (the reported width in bytes)
    uint32_t keptLines = 0;           // lines of the reduced image (the reported length)

    // The three padded rows (one replicated sample at each end) and a row of column sums.
    uint8_t* above = nullptr;
    uint8_t* current = nullptr;
    uint8_t* below = nullptr;
    uint16_t* sums = nullptr;
    uint32_t nextLine = 0;  // the line the next band must begin with
};

// The maps and the reduction's history for lines x lineBytes at 300 dpi, reduced to the
// effective resolution (1..299). sampleBytes is 1 for gray and 3 for colour; in colour the
// three bytes of a pixel share an entry and a partial pixel at the end of the line is
// dropped. Any earlier maps in `maps` are freed first. False (and nothing held) for a
// resolution outside 1..299, a sample size other than 1 or 3, an empty geometry or a
// failed allocation.
bool BuildDescreenDropMaps(uint32_t lineBytes, uint32_t lines, uint32_t sampleBytes,
                           uint32_t effectiveResolution, DescreenDropMaps* maps);
void FreeDescreenDropMaps(DescreenDropMaps& maps);

struct ReducedRows {
    bool ok = false;         // false: the band was refused and left as it was
    uint32_t firstLine = 0;  // scanned line of the first row this call finished
    uint32_t finished = 0;   // scanned lines finished by this call
    uint32_t kept = 0;       // reduced rows now at the start of band, keptBytes each
};

// Reduces `rows` descreened rows of band (lineBytes each, room for capacityRows of them) that
// begin at scanned line firstLine. Line 0 starts the image over; a later band must continue
// where the previous one ended. Refused when the band does not continue the image, runs
// past its last line, or the buffer could not hold the rows written back.
ReducedRows ReduceBand(DescreenDropMaps& maps, uint8_t* band, uint32_t rows,
                       uint32_t capacityRows, uint32_t firstLine);

// The scan job's maps, freed when the transfer ends.
extern DescreenDropMaps TheDescreenDropMaps;
