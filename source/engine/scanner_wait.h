// Stopping the scanner and waiting for it to be ready again, never longer than a bound.
#pragma once

#include "platform/platform.h"

// How long a scanner may stay busy after a scan, a stop or a start before the source gives up.
constexpr uint32_t kScannerBusyLimitMs = 60000;

// ScanRequestStop; its status is not read. False only when the remote link failed.
bool StopScanner();

// Polls the scanner until it is ready. A non-zero status, or a scanner still busy after the
// bound, shows message 629 and gives false; so does a failed remote link (without 629).
bool PollUntilReady(plat::WindowHandle owner);
