#include "transfer_output.h"

#include "abort_scan.h"
#include "bmp_layout.h"
#include "scan_job_state.h"
#include "settings_store.h"
#include "twain.h"
#include "transfer_state.h"

namespace {

constexpr uint32_t kInsufficientMemory = 604;
constexpr uint32_t kWriteDiskFileError = 619;

uint64_t PixelsOfLine(PixelLayout layout, uint64_t bytes) {
    switch (layout) {
    case PixelLayout::LineArt: return bytes * 8;
    case PixelLayout::Gray: return bytes;
    case PixelLayout::Rgb24: return bytes / 3;
    default: return bytes / 6;
    }
}

}  // namespace

// The file holds the delivered rows: interpolated rows of shape.rowBytes with a
// half-resolution scan, otherwise the lines as widened or reduced.
bool TransferOutputRequest(const char* path, uint16_t fileFormat, OutputFileRequest* request) {
    const StepContext& step = TheTransfer.step;
    OutputFileRequest r;
    if (!FileLayoutOf(step.scanMode, step.subMode, &r.layout)) return false;
    const uint32_t factor = step.shape.rowsPerLine;
    const uint64_t lines = uint64_t(step.outputLines) * factor;
    if (lines > UINT32_MAX) return false;
    r.path = path;
    r.fileFormat = fileFormat;
    r.bytesPerLine = factor > 1 ? step.shape.rowBytes : step.shape.lineBytes;
    r.lines = uint32_t(lines);
    r.resolution = TheSettings.settings.ScanRes;
    const uint64_t pixels = PixelsOfLine(r.layout, r.bytesPerLine);
    if (pixels > UINT32_MAX) return false;
    r.pixelWidth = uint32_t(pixels);
    r.alignedLineLength = BmpRowBytes(r.layout, r.pixelWidth);
    if (step.bmpColourOrder && fileFormat == TWFF_BMP && r.layout == PixelLayout::Rgb24)
        r.colourOrder = ColourOrder::Stored;
    *request = r;
    return true;
}

bool OpenTransferOutput(const char* path, uint16_t fileFormat) {
    TransferState& t = TheTransfer;
    OutputFileRequest r;
    if (!TransferOutputRequest(path, fileFormat, &r)) r.fileFormat = 0xFFFF;  // refused below
    t.output = OpenOutputFile(TheScanJob.owner, r);
    if (t.output == plat::kNoFile) {
        AbortScanAfterMessage(TWCC_OPERATIONERROR);
        return false;
    }
    t.outputPath = path;
    if (!BeginOutputBands(&t.outputBands, t.output, r)) {
        AbortScan(TWCC_LOWMEMORY, kInsufficientMemory);
        return false;
    }
    return true;
}

uint32_t TransferOutputRowBytes() { return TheTransfer.outputBands.lineBytes; }

uint32_t TransferOutputRowsPerLine() { return TheTransfer.step.shape.rowsPerLine; }

bool WriteTransferOutput(const uint8_t* rows, uint32_t count) {
    if (WriteOutputBand(&TheTransfer.outputBands, rows, count)) return true;
    AbortScan(TWCC_OPERATIONERROR, kWriteDiskFileError);
    return false;
}

bool CompleteTransferOutput() {
    TransferState& t = TheTransfer;
    const bool complete = EndOutputBands(&t.outputBands);
    const bool closed = plat::FileClose(t.output);
    t.output = plat::kNoFile;
    if (complete && closed) {
        t.outputComplete = true;
        return true;
    }
    AbortScan(TWCC_OPERATIONERROR, kWriteDiskFileError);
    return false;
}
