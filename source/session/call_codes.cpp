#include "session/call_codes.h"

CallCodes TheCall;

void FailCall(TW_UINT16 conditionCode) {
    TheCall.SourceReturnCode = TWRC_FAILURE;
    TheCall.SourceConditionCode = conditionCode;
}
