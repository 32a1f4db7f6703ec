#include "twain/transfer_outcome.h"

#include "engine/scan_job_state.h"
#include "engine/transfer_end.h"
#include "session/ui_hooks.h"
#include "twain/batch_hooks.h"
#include "twain/notify.h"

bool EndUnsuccessfulTransfer(TW_UINT16 returnCode) {
    if (returnCode != TWRC_FAILURE && returnCode != TWRC_CANCEL) return false;
    EnableScanControls();
    EndOfScanCleanUp();
    if (returnCode == TWRC_FAILURE) NotifyCloseRequest();
    TheScanJob.firstPage = false;
    return true;
}

void EndFinishedTransfer(bool batchTimer) {
    if (batchTimer)
        StartNextBatchJobTimer();
    else
        EnableScanControls();
    EndOfScanCleanUp();
    TheScanJob.firstPage = false;
}
