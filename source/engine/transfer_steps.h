// The image-processing steps of memory and file transfers, each called where it belongs in
// the read loop or the spooled pass. The resolution scaling, the band filters, output
// matching, the spooled filters and the CMYK conversion are placeholders that leave the
// rows as they are; the line preparation (colour adjustment, 36-bit samples, invert) is
// complete.
#pragma once

#include <cstdint>

#include "transfer_rows.h"

// What every step needs to know about the scan.
struct StepContext {
    uint16_t scanMode = 0;
    uint16_t subMode = 0;
    uint16_t filterMode = 0;
    int32_t deScreen = 0;
    bool outputMatch = false;
    bool descreenAtLowRes = false;
    bool reduceAfterDescreen = false;  // descreened below 300 dpi: bands shrink before writing
    uint32_t imageLines = 0;  // scanned lines of the whole image
    RowShape shape;
};

// ---- Per scanned line ----------------------------------------------------------------------
// In place on the scanner's line: the colour adjustment for 24-bit colour and CMYK (skipped
// when adjustColour is false, as output matching corrects colour later), and the 36-bit
// samples moved to the top of 16 bits.
void PrepareScannerLines(const StepContext& step, uint8_t* lines, uint32_t count,
                         bool adjustColour);

// Each little-endian 16-bit sample becomes (sample & 4095) x 16.
void ScaleTwelveBitSamples(uint8_t* line, uint32_t bytes);

// The scanned line into its place in the output: complemented for "FilterMode" 1 in memory
// transfers, copied at up to 600 dpi, widened above.
void DeliverLine(const StepContext& step, const uint8_t* line, uint8_t* out, bool invert);

// Horizontal resolution scaling of one line from scanBytes to outBytes. Placeholder.
void WidenLine(const StepContext& step, const uint8_t* line, uint8_t* out);

// ---- Per band while reading ------------------------------------------------------------------
// The rows of a band that are ready to be written: filters that need the next band's first
// row hold back a row and give it back with the next band.
struct BandRows {
    uint8_t* rows = nullptr;
    uint32_t firstLine = 0;
    uint32_t count = 0;
};

// "FilterMode" 8 and descreen over a band (which has room for one row more than it holds),
// then the reduction of a descreened low-resolution band. Placeholders: the band is given
// back as it came.
BandRows UnsharpMaskBand(const StepContext& step, BandRows band, uint32_t capacityRows);
BandRows DescreenBand(const StepContext& step, BandRows band, uint32_t capacityRows);
BandRows ReduceDescreenedBand(const StepContext& step, BandRows band);

// ---- Per block of the spooled pass ---------------------------------------------------------
// Output matching's colour table over colour rows, then the "FilterMode" filter, on count
// lines of the spool, rowStride bytes apart. Placeholders.
void ApplyOutputMatching(const StepContext& step, uint8_t* rows, uint32_t count,
                         uint32_t rowStride);
void FilterSpooledBlock(const StepContext& step, uint8_t* rows, uint32_t count,
                        uint32_t rowStride);

// ---- Per block of delivered rows -------------------------------------------------------------
// Doubles count lines of lineBytes (back to back) into count x rowsPerLine rows of rowBytes.
// Placeholder.
struct InterpolationShape {
    uint32_t lineBytes = 0;
    uint32_t rowBytes = 0;
    uint32_t rowsPerLine = 2;
};
void InterpolateBlock(const StepContext& step, const InterpolationShape& shape,
                      const uint8_t* lines, uint32_t count, uint8_t* rows);
// Colour rows of rowBytes into CMYK rows of replyBytesPerRow, in place. Placeholder.
void ConvertBlockToCmyk(const StepContext& step, uint8_t* rows, uint32_t count);
