#include "engine/spooled_pass.h"

#include <algorithm>
#include <cstring>

#include "engine/abort_scan.h"
#include "engine/native_filters.h"
#include "engine/scan_job_state.h"
#include "engine/spool_files.h"
#include "engine/transfer_output.h"
#include "engine/transfer_state.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"
#include "settings/scan_settings.h"

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
        TheUi.UpdateProgress(t.spoolLinesRead, t.step.outputLines, PassMessage());
}

// ESC between blocks ends the pass; the scanner finished long before.
bool CancelledByUser() {
    if (!plat::PumpMessagesCheckEscape()) return false;
    DestroyProgressWindow();
    TheCall.SourceReturnCode = TWRC_CANCEL;
    TheScanJob.ScanFailed = true;
    TheTransfer.cancelled = true;
    return true;
}

// count lines of the spool, back to back.
bool ReadSpoolLines(uint8_t* lines, uint32_t count) {
    TransferState& t = TheTransfer;
    const plat::FileHandle spool = SpoolInUse(Colour()).handle;
    const uint64_t bytes = uint64_t(t.step.shape.lineBytes) * count;
    if (plat::FileRead(spool, lines, bytes) == int64_t(bytes)) {
        t.spoolLinesRead += count;
        return true;
    }
    AbortScan(TWCC_OPERATIONERROR, kReadFileFailure);
    return false;
}

// Emboss compares a block's last line with the line after it: that line is read ahead into
// t.lookahead, matched like the others, and left in the spool for the next block. *next stays
// nullptr after the image's last line, or when no filter looks at the next line. False after
// AbortScan when the line cannot be had.
bool ReadNextLine(const uint8_t** next) {
    TransferState& t = TheTransfer;
    const StepContext& step = t.step;
    *next = nullptr;
    if (step.filterMode != kFilterEmboss || t.spoolLinesRead >= step.outputLines) return true;
    const int64_t bytes = step.shape.lineBytes;
    if (!t.lookahead.data && !HoldBlock(t.lookahead, size_t(bytes))) {
        AbortScan(TWCC_LOWMEMORY, kInsufficientMemory);
        return false;
    }
    const plat::FileHandle spool = SpoolInUse(Colour()).handle;
    if (plat::FileRead(spool, t.lookahead.data, size_t(bytes)) != bytes ||
        plat::FileSeek(spool, -bytes, plat::SeekFrom::Current) < 0) {
        AbortScan(TWCC_OPERATIONERROR, kReadFileFailure);
        return false;
    }
    if (Colour() && step.outputMatch) ApplyOutputMatching(step, t.lookahead.data, 1, uint32_t(bytes));
    *next = t.lookahead.data;
    return true;
}

// Output matching and the chosen filter over count lines stored back to back. False after
// AbortScan when the filter cannot run.
bool ProcessLines(uint8_t* lines, uint32_t count) {
    const StepContext& step = TheTransfer.step;
    const uint32_t lineBytes = step.shape.lineBytes;
    if (Colour() && step.outputMatch) ApplyOutputMatching(step, lines, count, lineBytes);
    const uint8_t* next = nullptr;
    if (!ReadNextLine(&next)) return false;
    if (FilterSpooledBlock(step, lines, count, lineBytes, next)) return true;
    AbortScan(TWCC_LOWMEMORY, kInsufficientMemory);
    return false;
}

// Lines read back to back at the start of the block moved apart to rows of rowBytes, last
// first so that none is overwritten before it moved.
void SpreadLines(uint8_t* block, uint32_t count, uint32_t lineBytes, uint32_t rowBytes) {
    if (rowBytes == lineBytes) return;
    for (uint32_t i = count; i-- > 1;)
        std::memmove(block + uint64_t(i) * rowBytes, block + uint64_t(i) * lineBytes, lineBytes);
    ZeroRowTails(block, count, lineBytes, rowBytes);
}

bool DeliverSpooledBlock(const AppBlock& block) {
    TransferState& t = TheTransfer;
    const RowShape& shape = t.step.shape;
    t.blockRows = 0;
    const uint32_t rows = BlockRowsOrAbort(block.bytes);
    if (rows == 0) return false;
    uint32_t lines = std::min(rows / shape.rowsPerLine, t.step.outputLines - t.spoolLinesRead);
    const bool doubled = shape.rowsPerLine > 1;
    if (doubled) lines = std::min(lines, t.interpolationLines);
    uint8_t* dest = doubled ? t.interpolation.data : block.data;
    if (!ReadSpoolLines(dest, lines) || !ProcessLines(dest, lines)) return false;
    if (!doubled) SpreadLines(block.data, lines, shape.lineBytes, shape.rowBytes);
    uint32_t rowsFilled = 0;
    if (!FinishMemoryBlock(block, dest, lines, &rowsFilled)) return false;
    t.blockRows = rowsFilled;
    t.linesDelivered = t.spoolLinesRead;
    ShowPassProgress();
    TheCall.SourceReturnCode =
        t.spoolLinesRead >= t.step.outputLines ? TWRC_XFERDONE : TWRC_SUCCESS;
    return true;
}

uint32_t PassLines() {
    const uint64_t lineBytes = TheTransfer.step.shape.lineBytes;
    const uint64_t lines = std::max<uint64_t>(kPassBlockBytes / lineBytes, 1);
    return uint32_t(std::min<uint64_t>(lines, TheTransfer.step.outputLines));
}

bool WriteSpooledFile() {
    TransferState& t = TheTransfer;
    const StepContext& step = t.step;
    const uint32_t rowsPerLine = TransferOutputRowsPerLine();
    uint8_t* lines = t.processing.data;
    uint8_t* doubledRows = lines + uint64_t(t.processingRows) * step.shape.lineBytes;
    while (t.spoolLinesRead < step.outputLines) {
        if (CancelledByUser()) return false;
        const uint32_t count = std::min(t.processingRows, step.outputLines - t.spoolLinesRead);
        if (!ReadSpoolLines(lines, count) || !ProcessLines(lines, count)) return false;
        const uint8_t* rows = lines;
        uint32_t rowCount = count;
        if (rowsPerLine > 1) {
            if (!EnlargeRows(step, lines, count, doubledRows, TransferOutputRowBytes(), &rowCount))
                return AbortScan(TWCC_LOWMEMORY, kInsufficientMemory), false;
            rows = doubledRows;
        }
        if (!WriteTransferOutput(rows, rowCount)) return false;
        ShowPassProgress();
    }
    if (!CompleteTransferOutput()) return false;
    TheCall.SourceReturnCode = TWRC_XFERDONE;
    return true;
}

}  // namespace

bool PrepareSpooledPass() {
    TransferState& t = TheTransfer;
    if (!OpenSpoolForReading(Colour())) return false;
    if (t.kind != TransferKind::File) return true;
    t.processingRows = PassLines();
    const uint64_t doubled = TransferOutputRowsPerLine() > 1
                                 ? uint64_t(t.processingRows) * TransferOutputRowsPerLine() *
                                       TransferOutputRowBytes()
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
