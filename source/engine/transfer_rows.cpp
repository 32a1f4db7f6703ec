#include "transfer_rows.h"

#include <algorithm>

#include "scan_settings.h"

namespace {

bool FitsField(uint64_t value) { return value > 0 && value <= UINT32_MAX; }

// Lines above 600 dpi are widened, except that a half-resolution scan up to 1200 dpi is
// brought to its resolution by the interpolation: widening it too would leave part of every
// row empty.
bool Widens(const RowInput& in) {
    return in.effectiveResolution > 600 &&
           !(in.halfResolutionScan && in.effectiveResolution <= 1200);
}

uint32_t RowsPerLineOf(const RowInput& in) {
    if (!in.halfResolutionScan) return 1;
    return in.dpiScale >= 2 && in.dpiScale <= 4 ? 2u * in.dpiScale : 2u;
}

// The delivered row: the scanned line doubled above 1200 dpi and again for a half-resolution
// scan, times the dpi scale; between 601 and 1200 dpi the scanner's line is stretched by the
// asked resolution over 600 instead. A half-resolution scan up to 1200 dpi (a scanner of
// less optical resolution) is enlarged by the interpolation alone: its rows are the doubled
// lines, as wide as the image information says.
uint64_t DeliveredRowBytes(const RowInput& in) {
    uint64_t bytes = in.bytesPerLine;
    if (in.effectiveResolution > 1200) bytes *= 2;
    if (in.halfResolutionScan) bytes *= 2;
    if (in.dpiScale >= 2 && in.dpiScale <= 4) bytes *= in.dpiScale;
    if (!in.halfResolutionScan && in.effectiveResolution > 600 && in.effectiveResolution <= 1200) {
        bytes = bytes * in.scaling * in.scanRes / 60000;
        // A colour row holds whole pixels, or its columns and bytes would not agree.
        if (in.scanMode == kModeColor) bytes -= bytes % (in.subMode == kSubMode36Bit ? 6 : 3);
    }
    return bytes;
}

}  // namespace

bool ShapeRows(const RowInput& in, RowShape* shape) {
    RowShape s;
    s.scanBytes = in.bytesPerLine;
    s.rowsPerLine = RowsPerLineOf(in);
    s.widened = Widens(in);
    s.cmyk = in.scanMode == kModeColor && in.subMode == kSubModeCmyk;
    const uint64_t row = DeliveredRowBytes(in);
    const uint64_t reply = s.cmyk ? row * 4 / 3 : row;
    // Interpolation doubles lines in both directions: before it a line holds one share of
    // the row. Never less than the scanned line, which is what a plain copy writes.
    const uint64_t line = std::max<uint64_t>(row / s.rowsPerLine, in.bytesPerLine);
    if (!FitsField(in.bytesPerLine) || !FitsField(row) || !FitsField(reply) || !FitsField(line))
        return false;
    s.rowBytes = uint32_t(row);
    s.replyBytesPerRow = uint32_t(reply);
    s.lineBytes = s.widened ? uint32_t(line) : in.bytesPerLine;
    *shape = s;
    return true;
}

int64_t RowsPerBlock(const RowShape& shape, uint16_t scanMode, uint32_t bufferBytes) {
    if (shape.rowBytes == 0 || shape.replyBytesPerRow == 0) return 0;
    int64_t rows = int64_t(shape.cmyk ? kCmykBlockBytes : bufferBytes) / shape.rowBytes;
    if (scanMode == kModeLineArt) rows -= 2;
    // What is answered must fit what the application gave, whatever the rule above says.
    rows = std::min<int64_t>(rows, bufferBytes / shape.replyBytesPerRow);
    if (rows > 0) rows -= rows % shape.rowsPerLine;
    return rows;
}

bool FileLayoutOf(uint16_t scanMode, uint16_t subMode, PixelLayout* layout) {
    if (scanMode == kModeColor && subMode == kSubModeCmyk) {
        *layout = PixelLayout::Rgb24;
        return true;
    }
    return PixelLayoutOfMode(scanMode, subMode, layout);
}
