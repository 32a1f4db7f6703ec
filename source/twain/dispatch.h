// Triplet dispatch: the handler is chosen by DAT and MSG only, never by the data group.
#pragma once

#include "common/twain.h"

// Runs the handler of the stored call (TheSource.Call*) and leaves its result in
// SourceReturnCode and SourceConditionCode.
void DispatchTriplet();

