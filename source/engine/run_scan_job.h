// A scan job: from the current settings to a started scan with its image information.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "engine/scan_window.h"

struct ScanJobRequest {
    plat::WindowHandle owner;  // parents the job's messages and dialogs
    uint32_t speedAndSource;   // scan source in the high 16 bits, a 3-bit speed in the low
    ScanArea area;             // 1/optical-resolution inch
    bool windowShown;          // started from the scanning window
};

// True when the scan has started, the image information is ready and MSG_XFERREADY is sent
// (source in state 600). False after every abandoned path, each reported as it happens.
bool RunScanJob(const ScanJobRequest& request);
