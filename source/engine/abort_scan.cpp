#include "engine/abort_scan.h"

#include "common/request_blocks.h"
#include "engine/scan_job_state.h"
#include "engine/scanner_wait.h"
#include "session/call_codes.h"
#include "session/messages.h"
#include "session/ui_hooks.h"

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
