// DAT_CAPABILITY: the full handler, used for every application but the one that gets the
// reduced set (capability_reduced.h).
#pragma once

#include "common/twain.h"

// Answers MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET and MSG_RESET for the
// TW_CAPABILITY at TheSource.CallData; any other MSG is TWCC_BADPROTOCOL. There is no state
// test here: the feeder settings test the state themselves.
void CapabilityRequest(TW_UINT16 msg);
