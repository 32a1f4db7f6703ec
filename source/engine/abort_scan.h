// The common error exit of a scan job and of the read loop.
#pragma once

#include "common/twain.h"

// Shows the message, marks the job failed, fails the TWAIN call with the condition code,
// stops the scanner and waits until it is ready again.
void AbortScan(TW_UINT16 conditionCode, uint32_t messageId);
// The same for a failure whose message has been shown already (the output file's writer
// shows its own).
void AbortScanAfterMessage(TW_UINT16 conditionCode);

// The message of a ScanRequestReadData status, through AbortScan with TWCC_OPERATIONERROR.
void ReportReadError(uint16_t status);
