#include "abort_scan.h"

#include "dispatch.h"
#include "messages.h"
#include "request_blocks.h"
#include "scan_job_state.h"
#include "scanner_wait.h"
#include "ui_hooks.h"

void AbortScan(TW_UINT16 conditionCode, uint32_t messageId) {
    ShowErrorMessage(TheScanJob.owner, messageId);
    AbortScanAfterMessage(conditionCode);
}

void AbortScanAfterMessage(TW_UINT16 conditionCode) {
    DestroyProgressWindow();
    TheScanJob.ScanFailed = true;
    FailCall(conditionCode);
    if (StopScanner()) PollUntilReady(TheScanJob.owner);
}

void ReportReadError(uint16_t status) {
    uint32_t message = 608;
    if (status == kScanStatusPaperJam) message = 620;
    else if (status == kScanStatusNoPaper) message = 621;
    else if (status == kScanStatusCoverOpen) message = 622;
    AbortScan(TWCC_OPERATIONERROR, message);
}
