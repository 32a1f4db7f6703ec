// The answer of the DS_Entry call in progress: the return code DS_Entry returns and the
// condition code DAT_STATUS reports. The front end sets them for its handlers; the engine and
// the link set them when a scan or a transfer fails, is cancelled or completes.
#pragma once

#include "common/twain.h"

struct CallCodes {
    TW_UINT16 SourceReturnCode = TWRC_SUCCESS;
    TW_UINT16 SourceConditionCode = TWCC_SUCCESS;
};

extern CallCodes TheCall;

// Sets both codes of a failed call.
void FailCall(TW_UINT16 conditionCode);
