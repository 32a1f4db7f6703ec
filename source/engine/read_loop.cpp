#include "read_loop.h"

#include <algorithm>

#include "abort_scan.h"
#include "dispatch.h"
#include "request_blocks_in_use.h"
#include "scan_job_state.h"
#include "scanner_link.h"
#include "scanner_wait.h"
#include "source_record.h"
#include "ui_hooks.h"

namespace {

// ESC between bands: the scanner is stopped and the transfer ends without a message.
void CancelRead() {
    DestroyProgressWindow();
    if (StopScanner()) PollUntilReady(TheScanJob.owner);
    TheSource.SourceReturnCode = TWRC_CANCEL;
    TheScanJob.ScanFailed = true;
    EnableScanControls();
}

void FillReadRequest(ReadDataBlock& r, const ScanBuffers& b, uint32_t bytesPerLine,
                     uint32_t bandLines, uint32_t linesRead) {
    r.bytesPerLine = static_cast<uint16_t>(bytesPerLine);
    r.lines = static_cast<uint16_t>(bandLines);
    r.bytes = bandLines * bytesPerLine;
    r.linesRead = static_cast<uint16_t>(linesRead);
    r.bandStart = 0;
    r.entryCount = b.count;
    r.table = const_cast<ScanBufferEntry*>(b.table);
}

// Sends the band's request; "data not ready" is asked once more, and a second "data not
// ready" is taken as read. Any other status, also on the second asking, is a read error.
bool RequestBand(const ScanBuffers& b, uint32_t bytesPerLine, uint32_t bandLines,
                 uint32_t linesRead) {
    ReadDataBlock& r = TheRequests.readData;
    FillReadRequest(r, b, bytesPerLine, bandLines, linesRead);
    if (!IssueRequest(ScanRequestReadData, &r)) return false;
    if (r.header.status == kScanStatusNoPaper) {
        FillReadRequest(r, b, bytesPerLine, bandLines, linesRead);
        if (!IssueRequest(ScanRequestReadData, &r)) return false;
        if (r.header.status == kScanStatusNoPaper) return true;
    }
    if (r.header.status != 0) {
        const uint16_t status = r.header.status;
        StopScanner();
        ReportReadError(status);
        return false;
    }
    return true;
}

void CountProgress(ReadProgress& progress, uint32_t bandLines, uint32_t totalLines) {
    progress.shown += bandLines;
    if (progress.show && TheUi.UpdateProgress) TheUi.UpdateProgress(progress.shown, totalLines, 403);
}

}  // namespace

void SlowSpeedWait(uint32_t line) {
    if (!TheScanJob.slowSpeed) return;
    const uint16_t interval = TheScanJob.slowLineInterval;
    if (interval != 0 && line % interval != 0) return;
    const uint32_t start = plat::TickCount();
    while (plat::TickCount() - start < TheScanJob.slowWaitMs) plat::SleepMs(1);
}

ReadOutcome ReadOneBand(ScanBuffers& b, uint32_t bytesPerLine, uint32_t totalLines,
                        uint32_t& linesRead, BandSink& sink, ReadProgress& progress) {
    if (plat::PumpMessagesCheckEscape()) {
        CancelRead();
        return ReadOutcome::Cancelled;
    }
    const uint32_t bandLines = std::min(b.linesPerRequest, totalLines - linesRead);
    if (!RequestBand(b, bytesPerLine, bandLines, linesRead)) return ReadOutcome::Failed;
    const uint32_t first = linesRead;
    linesRead += bandLines;
    CountProgress(progress, bandLines, totalLines);
    return sink.TakeBand(b, first, bandLines) ? ReadOutcome::Done : ReadOutcome::Failed;
}

ReadOutcome ReadBands(ScanBuffers& b, uint32_t bytesPerLine, uint32_t totalLines,
                      uint32_t& linesRead, BandSink& sink, ReadProgress& progress) {
    while (linesRead < totalLines) {
        ReadOutcome outcome = ReadOneBand(b, bytesPerLine, totalLines, linesRead, sink, progress);
        if (outcome != ReadOutcome::Done) return outcome;
    }
    // The image is complete: a scanner that does not come back is reported, the image kept.
    PollUntilReady(TheScanJob.owner);
    return ReadOutcome::Done;
}
