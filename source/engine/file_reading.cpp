#include "engine/file_reading.h"

#include <algorithm>

#include "engine/abort_scan.h"
#include "engine/read_loop.h"
#include "engine/scan_job_state.h"
#include "engine/slow_speed.h"
#include "engine/spool_files.h"
#include "engine/transfer_output.h"
#include "engine/transfer_state.h"
#include "session/call_codes.h"
#include "settings/scan_settings.h"

namespace {

constexpr uint32_t kInsufficientMemory = 604;
constexpr uint32_t kWriteDiskFileError = 619;

bool WritesOutput() { return !TheTransfer.postProcessing; }

bool Interpolates() { return WritesOutput() && TheTransfer.step.shape.rowsPerLine > 1; }

bool BandFilters(const StepContext& step) {
    return step.filterMode == 8 || step.descreenAtLowRes;
}

// The colour adjustment (unless output matching corrects colour later) and the 36-bit
// samples, in place, over the lines of each scanner buffer at once.
void PrepareBand(const ScanBuffers& b, uint32_t first, uint32_t count) {
    const StepContext& step = TheTransfer.step;
    for (uint32_t line = first; line < first + count; ++line) SlowSpeedWait(line);
    for (uint32_t done = 0; done < count;) {
        const uint32_t line = first + done;
        const uint32_t inBuffer = std::min(b.linesPerBuffer - line % b.linesPerBuffer, count - done);
        PrepareScannerLines(step, ScanLineAddress(b, line, step.shape.scanBytes), inBuffer,
                            !step.outputMatch);
        done += inBuffer;
    }
}

// The band's lines copied or widened into the band block, and enlarged when the output
// file takes interpolated rows.
BandRows GatherBand(const ScanBuffers& b, uint32_t first, uint32_t count) {
    TransferState& t = TheTransfer;
    const StepContext& step = t.step;
    uint8_t* lines = Interpolates() ? t.interpolation.data : t.band.data;
    for (uint32_t i = 0; i < count; ++i)
        DeliverLine(step, ScanLineAddress(b, first + i, step.shape.scanBytes),
                    lines + uint64_t(i) * step.bandLineBytes, step.bandLineBytes, false);
    if (!Interpolates()) return BandRows{t.band.data, first, count};
    const uint32_t firstRow = uint32_t(TheEnlargement.deliveredRows);
    uint32_t rows = 0;
    const bool ok = EnlargeRows(step, lines, count, t.band.data, TransferOutputRowBytes(), &rows);
    return BandRows{t.band.data, firstRow, rows, ok};
}

// The band filters and the reduction; a step that could not run ends the scan, since the
// rows it holds back would be lost.
BandRows FilterBand(BandRows rows) {
    const TransferState& t = TheTransfer;
    if (rows.ok && t.step.filterMode == 8) rows = UnsharpMaskBand(t.step, rows, t.bandRows);
    if (rows.ok && t.step.descreenAtLowRes) rows = DescreenBand(t.step, rows, t.bandRows);
    if (rows.ok && t.step.reduceAfterDescreen)
        rows = ReduceDescreenedBand(t.step, rows, t.bandRows);
    if (!rows.ok) AbortScan(TWCC_LOWMEMORY, kInsufficientMemory);
    return rows;
}

bool WriteBand(const BandRows& rows) {
    if (!rows.ok) return false;
    if (rows.count == 0) return true;
    const TransferState& t = TheTransfer;
    if (WritesOutput()) return WriteTransferOutput(rows.rows, rows.count);
    SpoolFile& spool = SpoolInUse(t.step.scanMode == kModeColor);
    if (AppendSpoolBand(spool, rows.rows, uint64_t(rows.count) * t.step.shape.lineBytes))
        return true;
    AbortScan(TWCC_OPERATIONERROR, kWriteDiskFileError);
    return false;
}

struct FileBandWriter : BandSink {
    bool TakeBand(const ScanBuffers& b, uint32_t first, uint32_t count) override {
        PrepareBand(b, first, count);
        if (!TheTransfer.band.data)
            return WriteBand(BandRows{ScanLineAddress(b, first, TheTransfer.step.shape.scanBytes),
                                      first, count});
        return WriteBand(FilterBand(GatherBand(b, first, count)));
    }
};

}  // namespace

bool BuffersFollowEachOther(const ScanBuffers& b) {
    for (uint16_t i = 1; i < b.count; ++i)
        if (b.table[i].address != b.table[i - 1].address + b.table[i - 1].size) return false;
    return b.count > 0;
}

bool BandsNeedBlock(const ScanBuffers& b) {
    const StepContext& step = TheTransfer.step;
    return Interpolates() || (!WritesOutput() && BandFilters(step)) || !BuffersFollowEachOther(b);
}

// Each stage that runs over the bands (unsharp mask, descreen, the reduction) holds a row
// back until the next band and gives it back with the image's last band, which can then
// hold one row more per stage than it was read with.
constexpr uint32_t kBandStages = 3;

uint32_t BandBlockRows(const ScanBuffers& b) {
    return b.linesPerRequest * (Interpolates() ? TheTransfer.step.shape.rowsPerLine : 1) +
           kBandStages;
}

uint64_t BandBlockRowBytes() {
    return Interpolates() ? TransferOutputRowBytes() : TheTransfer.step.bandLineBytes;
}

bool ReadImageToFile() {
    TransferState& t = TheTransfer;
    FileBandWriter writer;
    const ReadOutcome outcome = ReadBands(t.buffers, t.step.shape.scanBytes, t.step.imageLines,
                                          t.linesRead, writer, t.progress);
    if (outcome == ReadOutcome::Cancelled) t.cancelled = true;
    if (outcome != ReadOutcome::Done) return false;
    if (WritesOutput() && !CompleteTransferOutput()) return false;
    TheCall.SourceReturnCode = TWRC_XFERDONE;
    return true;
}
