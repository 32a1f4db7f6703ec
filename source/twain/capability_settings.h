// MSG_SET and MSG_RESET of the full capability handler.
#pragma once

#include "common/twain.h"
#include "twain/capability_container.h"

// Applies a value read from the application's container. A value outside its table or range
// is refused with TWCC_BADVALUE and changes nothing; a capability that takes no setting, or
// that the source does not know, succeeds with the condition code TWCC_BADVALUE.
void SetCapability(TW_UINT16 capId, const CapabilityValue& value);

// Puts the capability back to its start value; capabilities without one are left alone.
void ResetCapability(TW_UINT16 capId);

// The feeder settings, which only state 400 takes and only with a feeder installed.
void SetFeederEnabled(int64_t value);
void SetAutoFeed(int64_t value);
