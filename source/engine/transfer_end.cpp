#include "transfer_end.h"

#include "color_adjust.h"
#include "scaling_state.h"
#include "scan_job_state.h"
#include "scanner_wait.h"
#include "transfer_state.h"
#include "ui_hooks.h"

void EndOfScanCleanUp() {
    DestroyProgressWindow();
    FinishTransfer();
    FreeTransferScaling();
    TheToneColour.order = PixelOrder::Bitmap;
}

void AbandonTransfer() {
    const TransferState& t = TheTransfer;
    if (t.NewTransfer) return;
    if (t.buffers.block && t.linesRead < t.step.imageLines && StopScanner())
        PollUntilReady(TheScanJob.owner);
    EndOfScanCleanUp();
}

void AbandonUntakenScan() {
    if (!TheTransfer.NewTransfer) return AbandonTransfer();
    if (StopScanner()) PollUntilReady(TheScanJob.owner);
    EndOfScanCleanUp();
}
