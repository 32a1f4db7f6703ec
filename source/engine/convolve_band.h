// The weighted 3 x 3 convolution run over the bands of an image while it is read (unsharp
// mask and descreen in memory and file transfers). A history set carries the rows a band
// needs from its neighbours, so filtering an image band by band gives exactly what
// filtering it in one piece gives, whatever the band sizes.
//
// Each row is seen padded with one replicated pixel at each end; the image's first row is
// its own upper neighbour and its last row its own lower neighbour. A row's result needs the
// row below it, which for a band's last row arrives with the next band, so results trail
// the input by one row: a band gives back the finished rows from the line before its first
// (the first band from line 0, one row fewer than it received), and the band holding the
// image's last line also gives back that line, one row more than it received. The band
// buffer must therefore have room for one row more than the band.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct ConvolveWeights {
    int32_t corner = 0;
    int32_t edge = 0;
    int32_t centre = 1;
};
// Unsharp mask ("FilterMode" 8) on bands: divisor -20 - 4 + 29 = 5.
constexpr ConvolveWeights kUnsharpMaskWeights{-5, -1, 29};
// The descreen strengths "DeScreen" 1018, 1019 and 1020; false for any other value (1017
// is no descreen).
bool DescreenWeights(uint16_t deScreen, ConvolveWeights* weights);

struct BandShape {
    uint32_t rowBytes = 0;     // bytes of a row; rows are stored back to back
    uint32_t sampleBytes = 1;  // 1 for gray, 3 for colour (the distance to a neighbour)
    uint32_t imageLines = 0;   // lines of the whole image: tells which band ends it
};

// One history set: three padded rows (above, current, below), a row of 16-bit sums, and
// where the image stands.
struct ConvolveHistory {
    plat::MemHandle block = nullptr;
    uint8_t* base = nullptr;    // the block, locked while it lives
    int16_t* sums = nullptr;    // a row of weighted sums, at the start of the block
    uint8_t* rows = nullptr;    // the three padded rows after it
    uint32_t capacity = 0;      // bytes of the block
    BandShape shape{};
    ConvolveWeights weights{};
    uint32_t multiplier = 0;    // quotient = (sum x multiplier) >> shift, exact for the sums
    uint32_t shift = 0;
    uint32_t nextLine = 0;      // the line the next band must begin with
    bool active = false;        // false: bands pass through unchanged until line 0 comes again
};

// Two independent sets: 0 serves unsharp mask, 1 descreen, so both can run over the same
// sequence of bands (unsharp first).
extern ConvolveHistory TheConvolveHistories[2];
// Frees both sets (end of a transfer, and the process-attach state).
void FreeConvolveHistories();

struct ConvolvedRows {
    uint32_t firstLine = 0;  // image line of the band's first row after the call
    uint32_t rows = 0;       // finished rows now at the start of the band
    bool filtered = true;    // false: the band passed through unchanged (see below)
};

// Filters `rows` rows of band (room for capacityRows rows) that begin at image line
// firstLine, with history set historySet. Line 0 starts a new image with this shape and these
// weights; later bands must continue where the previous one ended. The out = (corner x the
// four corners + edge x the four edge neighbours + centre x p) / (4 corner + 4 edge + centre),
// signed division, clamped to 0..255.
//
// The band passes through unchanged (the answer is firstLine and rows) when the history
// cannot be allocated, the weights or shape are unusable, the band does not continue the
// image or the buffer lacks the extra row; the rest of that image then passes through too,
// and a row still held back from the band before is lost.
ConvolvedRows ConvolveBand(uint8_t* band, uint32_t rows, uint32_t capacityRows,
                           const BandShape& shape, uint32_t firstLine,
                           const ConvolveWeights& weights, int historySet);

// The same over an explicit history set.
ConvolvedRows ConvolveBandWith(ConvolveHistory& history, uint8_t* band, uint32_t rows,
                               uint32_t capacityRows, const BandShape& shape,
                               uint32_t firstLine, const ConvolveWeights& weights);
void FreeConvolveHistory(ConvolveHistory& history);
