#include "engine/transfer_end.h"

#include "engine/color_adjust.h"
#include "engine/scaling_state.h"
#include "engine/scan_job_state.h"
#include "engine/scanner_wait.h"
#include "engine/transfer_state.h"
#include "session/ui_hooks.h"

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
