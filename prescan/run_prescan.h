// One prescan from the binding of the port library to the bitmap file.
#pragma once

#include "common/prescan_api.h"
#include "prescan/prescan_session.h"

// The whole prescan; the zero result after any failure (its message shown where there is
// one), the file's description after success or after Escape.
PreScanResult RunPrescan(const PrescanCall& call);
