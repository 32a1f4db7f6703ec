#include "spooled_pass.h"

#include <algorithm>

#include "abort_scan.h"
#include "scan_job_state.h"
#include "scan_settings.h"
#include "source_record.h"
#include "spool_files.h"
#include "transfer_output.h"
#include "transfer_state.h"
#include "ui_hooks.h"

namespace {

constexpr uint32_t kInsufficientMemory = 604;
constexpr uint32_t kReadFileFailure = 618;
constexpr uint64_t kPassBlockBytes = 2u << 20;  // rows of the file pass are read in bands of this

bool Colour() { return TheTransfer.step.scanMode == kModeColor; }

uint32_t PassMessage() {
    const StepContext& step = TheTransfer.step;
    if (step.outputMatch) return 509;
    return step.descreenAtLowRes ? 508 : 505;
}

void ShowPassProgress() {
    TransferState& t = TheTransfer;
    if (t.progress.show && TheUi.UpdateProgress)
        TheUi.UpdateProgress(t.spoolLinesRead, t.step.imageLines, PassMessage());
}

// ESC between blocks ends the pass; the scanner finished long before.
bool CancelledByUser() {
    if (!plat::PumpMessagesCheckEscape()) return false;
    DestroyProgressWindow();
    TheSource.SourceReturnCode = TWRC_CANCEL;
    TheScanJob.ScanFailed = true;
    TheTransfer.cancelled = true;
    return true;
}

// count lines of the spool into rows stride bytes apart.
bool ReadSpoolLines(uint8_t* rows, uint32_t count, uint64_t stride) {
    TransferState& t = TheTransfer;
    const plat::FileHandle spool = SpoolInUse(Colour()).handle;
    const uint64_t lineBytes = t.step.shape.lineBytes;
    bool ok = true;
    if (stride == lineBytes) {
        const uint64_t bytes = lineBytes * count;
        ok = plat::FileRead(spool, rows, bytes) == int64_t(bytes);
    } else {
        for (uint32_t i = 0; ok && i < count; ++i)
            ok = plat::FileRead(spool, rows + i * stride, lineBytes) == int64_t(lineBytes);
    }
    if (ok) {
        t.spoolLinesRead += count;
        return true;
    }
    AbortScan(TWCC_OPERATIONERROR, kReadFileFailure);
    return false;
}

void ProcessLines(uint8_t* rows, uint32_t count, uint32_t stride) {
    const StepContext& step = TheTransfer.step;
    if (Colour() && step.outputMatch) ApplyOutputMatching(step, rows, count, stride);
    if (step.filterMode != 0) FilterSpooledBlock(step, rows, count, stride);
}

bool DeliverSpooledBlock(const AppBlock& block) {
    TransferState& t = TheTransfer;
    const RowShape& shape = t.step.shape;
    t.blockRows = 0;
    const uint32_t rows = BlockRowsOrAbort(block.bytes);
    if (rows == 0) return false;
    uint32_t lines = std::min(rows / shape.rowsPerLine, t.step.imageLines - t.spoolLinesRead);
    const bool doubled = shape.rowsPerLine > 1;
    if (doubled) lines = std::min(lines, t.interpolationLines);
    uint8_t* dest = doubled ? t.interpolation.data : block.data;
    const uint32_t stride = doubled ? shape.lineBytes : shape.rowBytes;
    if (!ReadSpoolLines(dest, lines, stride)) return false;
    ProcessLines(dest, lines, stride);
    if (doubled) InterpolateBlock(t.step, MemoryInterpolation(shape), dest, lines, block.data);
    if (shape.cmyk) ConvertBlockToCmyk(t.step, block.data, lines * shape.rowsPerLine);
    t.blockRows = lines * shape.rowsPerLine;
    t.linesDelivered = t.spoolLinesRead;
    ShowPassProgress();
    TheSource.SourceReturnCode =
        t.spoolLinesRead >= t.step.imageLines ? TWRC_XFERDONE : TWRC_SUCCESS;
    return true;
}

uint32_t PassLines() {
    const uint64_t lineBytes = TheTransfer.step.shape.lineBytes;
    const uint64_t lines = std::max<uint64_t>(kPassBlockBytes / lineBytes, 1);
    return uint32_t(std::min<uint64_t>(lines, TheTransfer.step.imageLines));
}

bool WriteSpooledFile() {
    TransferState& t = TheTransfer;
    const uint32_t lineBytes = t.step.shape.lineBytes;
    const uint32_t rowsPerLine = TransferOutputRowsPerLine();
    uint8_t* lines = t.processing.data;
    uint8_t* doubledRows = lines + uint64_t(t.processingRows) * lineBytes;
    while (t.spoolLinesRead < t.step.imageLines) {
        if (CancelledByUser()) return false;
        const uint32_t count = std::min(t.processingRows, t.step.imageLines - t.spoolLinesRead);
        if (!ReadSpoolLines(lines, count, lineBytes)) return false;
        ProcessLines(lines, count, lineBytes);
        const uint8_t* rows = lines;
        if (rowsPerLine > 1) {
            const InterpolationShape shape{lineBytes, TransferOutputRowBytes(), rowsPerLine};
            InterpolateBlock(t.step, shape, lines, count, doubledRows);
            rows = doubledRows;
        }
        if (!WriteTransferOutput(rows, count * rowsPerLine)) return false;
        ShowPassProgress();
    }
    if (!CompleteTransferOutput()) return false;
    TheSource.SourceReturnCode = TWRC_XFERDONE;
    return true;
}

}  // namespace

bool PrepareSpooledPass() {
    TransferState& t = TheTransfer;
    if (!OpenSpoolForReading(Colour())) return false;
    if (t.kind != TransferKind::File) return true;
    t.processingRows = PassLines();
    const uint64_t doubled = TransferOutputRowsPerLine() > 1
                                 ? uint64_t(t.processingRows) * 2 * TransferOutputRowBytes()
                                 : 0;
    const uint64_t bytes = uint64_t(t.processingRows) * t.step.shape.lineBytes + doubled;
    if (bytes <= SIZE_MAX && HoldBlock(t.processing, size_t(bytes))) return true;
    AbortScan(TWCC_LOWMEMORY, kInsufficientMemory);
    return false;
}

bool ProcessSpooledImage(const AppBlock* block) {
    if (!block) return WriteSpooledFile();
    if (CancelledByUser()) return false;
    return DeliverSpooledBlock(*block);
}
