#include "engine/transfer_rows.h"

#include <algorithm>

#include "settings/scan_settings.h"

namespace {

bool FitsField(uint64_t value) { return value > 0 && value <= UINT32_MAX; }

bool DeepColour(uint16_t scanMode, uint16_t subMode) {
    return scanMode == kModeColor && subMode == kSubMode36Bit;
}

uint64_t RowBytesOf(uint64_t pixels, uint16_t scanMode, uint16_t subMode) {
    if (scanMode == kModeLineArt) return (pixels + 7) / 8;
    if (scanMode != kModeColor) return pixels;
    return pixels * (DeepColour(scanMode, subMode) ? 6 : 3);
}

}  // namespace

uint32_t LinePixels(uint32_t bytes, uint16_t scanMode, uint16_t subMode) {
    if (scanMode == kModeLineArt) return uint32_t(std::min<uint64_t>(uint64_t(bytes) * 8, UINT32_MAX));
    if (scanMode != kModeColor) return bytes;
    return bytes / (DeepColour(scanMode, subMode) ? 6 : 3);
}

// A row holds the delivered pixels; without enlargement that is the line as it is.
bool ShapeRows(const RowInput& in, RowShape* shape) {
    RowShape s;
    s.scanBytes = s.lineBytes = in.bytesPerLine;
    s.rowsPerLine = std::max<uint32_t>(in.plan.factor, 1);
    s.thinned = s.rowsPerLine > 1 && uint64_t(s.rowsPerLine) * in.plan.asked != in.plan.effective;
    s.cmyk = in.scanMode == kModeColor && in.subMode == kSubModeCmyk;
    if (s.rowsPerLine > 1 && DeepColour(in.scanMode, in.subMode)) return false;
    const uint32_t scanned = LinePixels(in.bytesPerLine, in.scanMode, in.subMode);
    const uint64_t pixels = DeliveredCount(scanned, in.plan);
    const uint64_t row = s.rowsPerLine > 1 ? RowBytesOf(pixels, in.scanMode, in.subMode)
                                           : in.bytesPerLine;
    const uint64_t reply = s.cmyk ? row * 4 / 3 : row;
    if (!FitsField(in.bytesPerLine) || !FitsField(pixels) || !FitsField(row) ||
        !FitsField(reply))
        return false;
    s.pixels = uint32_t(pixels);
    s.rowBytes = uint32_t(row);
    s.replyBytesPerRow = uint32_t(reply);
    *shape = s;
    return true;
}

int64_t RowsPerBlock(const RowShape& shape, uint16_t scanMode, uint32_t bufferBytes) {
    if (shape.rowBytes == 0 || shape.replyBytesPerRow == 0) return 0;
    // CMYK rows longer than the block they are cut for still make a block: the rows of one line.
    int64_t rows = shape.cmyk ? std::max<int64_t>(kCmykBlockBytes / shape.rowBytes, shape.rowsPerLine)
                              : int64_t(bufferBytes) / shape.rowBytes;
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
