// The answers of the full capability handler to the queries.
#pragma once

#include "common/twain.h"

// Builds the container that answers a query of cap.Cap: with listAll (MSG_GET) the ranges and
// enumerations, otherwise the current value alone. An unsupported capability is TWCC_BADCAP.
void AnswerCapability(TW_CAPABILITY& cap, bool listAll);
