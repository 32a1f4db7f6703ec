// How every transfer call ends, by the return code the reading and processing left.
#pragma once

#include "common/twain.h"

// Failure and cancel: the window's controls come back and the transfer is cleaned up; a
// failure also asks the application to close the source. Returns false for any other code,
// which each transfer ends in its own way.
bool EndUnsuccessfulTransfer(TW_UINT16 returnCode);

// A finished image: the next batch job's timer when batchTimer is set, else the controls
// come back; then the clean-up.
void EndFinishedTransfer(bool batchTimer);
