#include "engine/memory_blocks.h"

#include <algorithm>
#include <cstring>

#include "engine/abort_scan.h"
#include "engine/read_loop.h"
#include "engine/scan_job_state.h"
#include "engine/scanner_wait.h"
#include "engine/slow_speed.h"
#include "engine/transfer_state.h"
#include "session/call_codes.h"

namespace {

constexpr uint32_t kInsufficientMemory = 604;

// Notes which lines the band just read brought; they stay in the scanner buffers until the
// blocks of the following calls have taken them.
struct BandMarker : BandSink {
    uint32_t first = 0;
    uint32_t lines = 0;
    bool TakeBand(const ScanBuffers&, uint32_t firstLine, uint32_t count) override {
        first = firstLine;
        lines = count;
        return true;
    }
};

bool EnsureBand(TransferState& t) {
    if (t.bandNext < t.bandEnd) return true;
    BandMarker marker;
    const ReadOutcome outcome = ReadOneBand(t.buffers, t.step.shape.scanBytes,
                                            t.step.imageLines, t.linesRead, marker, t.progress);
    if (outcome == ReadOutcome::Cancelled) t.cancelled = true;
    if (outcome != ReadOutcome::Done) return false;
    t.bandNext = marker.first;
    t.bandEnd = marker.first + marker.lines;
    return true;
}

// Where scanned line i of this block goes: its row in the application's buffer, or its line
// in the interpolation buffer when the block is doubled afterwards.
uint8_t* LineDestination(const TransferState& t, const AppBlock& block, uint32_t i) {
    if (t.step.shape.rowsPerLine > 1) return t.interpolation.data + uint64_t(i) * t.step.shape.lineBytes;
    return block.data + uint64_t(i) * t.step.shape.rowBytes;
}

}  // namespace

void ZeroRowTails(uint8_t* rows, uint32_t count, uint32_t filled, uint32_t rowBytes) {
    if (filled >= rowBytes) return;
    for (uint32_t r = 0; r < count; ++r)
        std::memset(rows + uint64_t(r) * rowBytes + filled, 0, rowBytes - filled);
}

bool FinishMemoryBlock(const AppBlock& block, const uint8_t* lines, uint32_t count,
                       uint32_t* rows) {
    const StepContext& step = TheTransfer.step;
    const RowShape& shape = step.shape;
    *rows = count;
    if (shape.rowsPerLine > 1 &&
        !EnlargeRows(step, lines, count, block.data, shape.rowBytes, rows))
        return AbortScan(TWCC_LOWMEMORY, kInsufficientMemory), false;
    if (shape.cmyk && !ConvertRowsToCmyk(step, block.data, *rows, block.bytes))
        return AbortScan(TWCC_LOWMEMORY, kInsufficientMemory), false;
    return true;
}

uint32_t BlockRowsOrAbort(uint32_t bufferBytes) {
    const int64_t rows = RowsPerBlock(TheTransfer.step.shape, TheTransfer.step.scanMode, bufferBytes);
    if (rows > 0) return uint32_t(rows);
    AbortScan(TWCC_LOWMEMORY, kInsufficientMemory);
    return 0;
}

bool ReadMemoryBlock(const AppBlock& block) {
    TransferState& t = TheTransfer;
    const RowShape& shape = t.step.shape;
    t.blockRows = 0;
    const uint32_t rows = BlockRowsOrAbort(block.bytes);
    if (rows == 0) return false;
    uint32_t lines = rows / shape.rowsPerLine;
    if (shape.rowsPerLine > 1) lines = std::min(lines, t.interpolationLines);
    const bool invert = t.step.filterMode == 1;
    uint32_t taken = 0;
    while (taken < lines && t.linesDelivered < t.step.imageLines) {
        if (!EnsureBand(t)) return false;
        const uint32_t count = std::min(lines - taken, t.bandEnd - t.bandNext);
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t line = t.bandNext + i;
            SlowSpeedWait(line);
            uint8_t* src = ScanLineAddress(t.buffers, line, shape.scanBytes);
            PrepareScannerLines(t.step, src, 1, true);
            DeliverLine(t.step, src, LineDestination(t, block, taken + i), shape.lineBytes, invert);
        }
        t.bandNext += count;
        t.linesDelivered += count;
        taken += count;
    }
    if (shape.rowsPerLine == 1) ZeroRowTails(block.data, taken, shape.lineBytes, shape.rowBytes);
    uint32_t rowsFilled = 0;
    if (!FinishMemoryBlock(block, t.interpolation.data, taken, &rowsFilled)) return false;
    t.blockRows = rowsFilled;
    TheCall.SourceReturnCode =
        t.linesDelivered >= t.step.imageLines ? TWRC_XFERDONE : TWRC_SUCCESS;
    return true;
}

void AnswerMemoryBlock(TW_IMAGEMEMXFER& reply, uint32_t columns) {
    TransferState& t = TheTransfer;
    reply.Compression = TWCP_NONE;
    reply.BytesPerRow = t.step.shape.replyBytesPerRow;
    reply.Columns = columns;
    reply.Rows = t.blockRows;
    reply.XOffset = 0;
    reply.YOffset = t.rowsDelivered;
    reply.BytesWritten = uint32_t(uint64_t(reply.BytesPerRow) * t.blockRows);
    t.rowsDelivered += t.blockRows;
    t.blockRows = 0;
}

bool FillMemXferReply(TW_IMAGEMEMXFER& reply, uint32_t columns) {
    AnswerMemoryBlock(reply, columns);
    if (TheTransfer.linesDelivered < TheTransfer.step.imageLines) return true;
    // The image is complete: a scanner that does not come back is reported, the image kept.
    PollUntilReady(TheScanJob.owner);
    return false;
}
