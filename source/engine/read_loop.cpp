#include "engine/read_loop.h"

#include <algorithm>

#include "engine/abort_scan.h"
#include "engine/scan_job_state.h"
#include "engine/scanner_wait.h"
#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "session/ui_hooks.h"

namespace {

// ESC between bands: the scanner is stopped and the transfer ends without a message.
void CancelRead() {
    DestroyProgressWindow();
    if (StopScanner()) PollUntilReady(TheScanJob.owner);
    TheCall.SourceReturnCode = TWRC_CANCEL;
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

// Between askings of a band the scanner answered "data not ready" for.
constexpr uint32_t kNotReadyPauseMs = 100;

// Sends the band's request. "Data not ready" is asked again, at once and then after each
// pause, as long as the scanner's bound lasts; Escape between the askings cancels. A band the
// scanner did not fill never reaches the transfer: still not ready after the bound, or any
// other status, is a read error.
ReadOutcome RequestBand(const ScanBuffers& b, uint32_t bytesPerLine, uint32_t bandLines,
                        uint32_t linesRead) {
    ReadDataBlock& r = TheRequests.readData;
    const uint32_t start = plat::TickCount();
    for (uint32_t asked = 0;; ++asked) {
        FillReadRequest(r, b, bytesPerLine, bandLines, linesRead);
        if (!ScannerRequest(ScanRequestReadData, &r)) return ReadOutcome::Failed;
        const uint16_t status = r.header.status;
        if (status == 0) return ReadOutcome::Done;
        if (status != kScanStatusNoPaper || plat::TickCount() - start >= kScannerBusyLimitMs) {
            StopScanner();
            ReportReadError(status);
            return ReadOutcome::Failed;
        }
        if (asked == 0) continue;
        plat::SleepMs(kNotReadyPauseMs);
        if (plat::PumpMessagesCheckEscape()) {
            CancelRead();
            return ReadOutcome::Cancelled;
        }
    }
}

void CountProgress(ReadProgress& progress, uint32_t bandLines, uint32_t totalLines) {
    progress.shown += bandLines;
    if (progress.show && TheUi.UpdateProgress) TheUi.UpdateProgress(progress.shown, totalLines, 403);
}

}  // namespace

ReadOutcome ReadOneBand(ScanBuffers& b, uint32_t bytesPerLine, uint32_t totalLines,
                        uint32_t& linesRead, BandSink& sink, ReadProgress& progress) {
    if (plat::PumpMessagesCheckEscape()) {
        CancelRead();
        return ReadOutcome::Cancelled;
    }
    const uint32_t bandLines = std::min(b.linesPerRequest, totalLines - linesRead);
    const ReadOutcome asked = RequestBand(b, bytesPerLine, bandLines, linesRead);
    if (asked != ReadOutcome::Done) return asked;
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
