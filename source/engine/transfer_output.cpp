#include "engine/transfer_output.h"

#include <string>

#include "common/twain.h"
#include "engine/abort_scan.h"
#include "engine/scan_job_state.h"
#include "engine/transfer_state.h"
#include "imagefile/bmp_layout.h"
#include "settings/settings_store.h"

namespace {

constexpr uint32_t kInsufficientMemory = 604;
constexpr uint32_t kWriteDiskFileError = 619;

}  // namespace

// The file holds the delivered rows: enlarged rows of shape.rowBytes above the optical
// resolution, otherwise the lines as scanned or reduced.
bool TransferOutputRequest(const char* path, uint16_t fileFormat, OutputFileRequest* request) {
    const StepContext& step = TheTransfer.step;
    OutputFileRequest r;
    if (!FileLayoutOf(step.scanMode, step.subMode, &r.layout)) return false;
    r.path = path;
    r.fileFormat = fileFormat;
    r.bytesPerLine = step.shape.rowsPerLine > 1 ? step.shape.rowBytes : step.shape.lineBytes;
    r.lines = step.outputRows;
    // The file says what the image information says: the page's size in inches follows.
    r.resolution = TheScanJob.reportedResolution;
    r.pixelWidth = step.shape.pixels;
    r.alignedLineLength = BmpRowBytes(r.layout, r.pixelWidth);
    if (step.bmpColourOrder && fileFormat == TWFF_BMP && r.layout == PixelLayout::Rgb24)
        r.colourOrder = ColourOrder::Stored;
    *request = r;
    return true;
}

// A free name beside the output: its name with ".part" (and a number) added. "" when none is
// free.
std::string WritingPathFor(const std::string& path) {
    for (int i = 0; i < 16; ++i) {
        const std::string candidate = path + ".part" + (i ? std::to_string(i) : "");
        if (!plat::FileExists(candidate.c_str())) return candidate;
    }
    return {};
}

bool OpenTransferOutput(const char* path, uint16_t fileFormat) {
    TransferState& t = TheTransfer;
    const std::string writing = WritingPathFor(path);
    OutputFileRequest r;
    if (writing.empty() || !TransferOutputRequest(writing.c_str(), fileFormat, &r))
        r.fileFormat = 0xFFFF;  // refused below
    t.output = OpenOutputFile(TheScanJob.owner, r);
    if (t.output == plat::kNoFile) {
        AbortScanAfterMessage(TWCC_OPERATIONERROR);
        return false;
    }
    t.outputPath = path;
    t.writingPath = writing;
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
    if (complete && closed && plat::FileReplace(t.writingPath.c_str(), t.outputPath.c_str())) {
        t.outputComplete = true;
        return true;
    }
    AbortScan(TWCC_OPERATIONERROR, kWriteDiskFileError);
    return false;
}
