// The image-processing steps of memory and file transfers, each called where it belongs in
// the read loop or the spooled pass: the line preparation (colour adjustment, 36-bit
// samples), copying each line, the band filters (unsharp mask, descreen) and the descreen
// reduction, output matching and the chosen filter over spooled rows, the enlargement of
// scans above the optical resolution and the CMYK conversion.
#pragma once

#include <cstdint>

#include "engine/enlarge_lines.h"
#include "engine/resolution_plan.h"
#include "engine/sample_kind.h"
#include "engine/transfer_rows.h"

// What every step needs to know about the scan.
struct StepContext {
    uint16_t scanMode = 0;
    uint16_t subMode = 0;
    uint16_t filterMode = 0;
    int32_t deScreen = 0;
    bool outputMatch = false;
    bool descreenAtLowRes = false;
    bool reduceAfterDescreen = false;  // descreened below 300 dpi: bands shrink before writing
    uint32_t imageLines = 0;     // scanned lines of the whole image
    uint32_t outputLines = 0;    // lines after the descreen reduction (else imageLines)
    uint32_t outputRows = 0;     // rows delivered: the output lines, enlarged
    uint32_t bandLineBytes = 0;  // a line in the band block before the reduction
    ResolutionPlan plan;         // the scan job's resolutions and enlargement
    // 24-bit colour lines go to a BMP file straight from the read: the line preparation
    // stores them blue, green, red, so the file writer takes them as they are.
    bool bmpColourOrder = false;
    bool cmykTableBytes = false;   // CMYK rows keep the table's bytes (else complemented)
    RowShape shape;                // lineBytes: a line as scanned or after the reduction
};

// Whether the scaling and filter kernels can work on the scan's samples, and how they
// group them. The 16-bit samples of "36-bit Color" are delivered as scanned.
bool ScalableSamples(const StepContext& step, SampleKind* kind);

// Prepares what the steps hold for one transfer (the enlargement). False when it cannot be
// allocated.
bool PrepareTransferSteps(const StepContext& step);
// Frees it (and the band filters' histories); the scan job's drop maps and CMYK table stay.
void FreeTransferSteps();

// ---- Per scanned line ----------------------------------------------------------------------
// In place on the scanner's line: the colour adjustment for 24-bit colour and CMYK (skipped
// when adjustColour is false, as output matching corrects colour later) with the swap to
// BMP order when bmpColourOrder, and the 36-bit samples moved to the top of 16 bits.
void PrepareScannerLines(const StepContext& step, uint8_t* lines, uint32_t count,
                         bool adjustColour);

// Each little-endian 16-bit sample becomes (sample & 4095) x 16.
void ScaleTwelveBitSamples(uint8_t* line, uint32_t bytes);

// The scanned line into its place in the output, outBytes long (shape.lineBytes, or the
// whole scanned line before the descreen reduction): complemented for "FilterMode" 1 in
// memory transfers, copied otherwise. Whatever the line does not fill is zero.
void DeliverLine(const StepContext& step, const uint8_t* line, uint8_t* out, uint32_t outBytes,
                 bool invert);

// ---- Per band while reading ------------------------------------------------------------------
// The rows of a band that are ready to be written: the band filters hold back a row and give
// it back with the next band, and the reduction keeps some rows and drops others.
struct BandRows {
    uint8_t* rows = nullptr;
    uint32_t firstLine = 0;
    uint32_t count = 0;
    bool ok = true;  // false: the step could not run (no memory for its history)
};

// "FilterMode" 8 and descreen over a band of bandLineBytes rows (room for capacityRows),
// then the reduction of a descreened low-resolution band into rows of shape.lineBytes.
BandRows UnsharpMaskBand(const StepContext& step, BandRows band, uint32_t capacityRows);
BandRows DescreenBand(const StepContext& step, BandRows band, uint32_t capacityRows);
BandRows ReduceDescreenedBand(const StepContext& step, BandRows band, uint32_t capacityRows);

// ---- Per block of the spooled pass ---------------------------------------------------------
// Output matching's colour table over colour rows (scanner order), then the "FilterMode"
// filter, on count rows of rowBytes stored back to back; `next` is the row after them, or
// nullptr after the image's last row. False when the filter's row copy cannot be allocated.
void ApplyOutputMatching(const StepContext& step, uint8_t* rows, uint32_t count,
                         uint32_t rowBytes);
bool FilterSpooledBlock(const StepContext& step, uint8_t* rows, uint32_t count,
                        uint32_t rowBytes, const uint8_t* next);

// ---- Per block of delivered rows -------------------------------------------------------------
// Enlarges count lines of shape.lineBytes (back to back) into the next rows of
// shape.rowBytes, `stride` bytes apart: at most count x rowsPerLine of them, *written says
// how many.
bool EnlargeRows(const StepContext& step, const uint8_t* lines, uint32_t count, uint8_t* rows,
                 int64_t stride, uint32_t* written);
// The transfer's enlargement, freed when the transfer ends.
extern Enlargement TheEnlargement;

// count colour rows of shape.rowBytes into CMYK rows of replyBytesPerRow, in place in a block
// of capacity bytes. False when no table is loaded or the rows would not fit.
bool ConvertRowsToCmyk(const StepContext& step, uint8_t* rows, uint32_t count,
                       uint64_t capacity);
