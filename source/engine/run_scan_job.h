// A scan job: from the current settings to a started scan with its image information.
#pragma once

#include <cstdint>

#include "common/twain.h"
#include "engine/application_traits.h"
#include "engine/scan_window.h"
#include "platform/platform.h"

struct ScanJobRequest {
    plat::WindowHandle owner;  // parents the job's messages and dialogs
    uint32_t speedAndSource;   // scan source in the high 16 bits, a 3-bit speed in the low
    ScanArea area;             // window units (WindowScale per inch)
    bool windowShown;          // started from the scanning window
    ApplicationTraits application;
    TW_UINT16 transferMechanism;  // TWSX_NATIVE, TWSX_FILE or TWSX_MEMORY, as negotiated
    TW_UINT16 fileFormat;         // TWFF_TIFF or TWFF_BMP, for the disk-space allowance
    TW_IMAGEINFO* imageInfo;      // filled in when the scan has started
};

// True when the scan has started and *request.imageInfo describes its image; the caller then
// tells the application (MSG_XFERREADY). False after every abandoned path, each reported as
// it happens, with ScanFailed set.
bool RunScanJob(const ScanJobRequest& request);

// The application could not be told of a started scan (the source manager refused the
// message): the scanner is stopped, what the job prepared is freed, the call fails with
// TWCC_OPERATIONERROR and ScanFailed is set.
void AbandonUnannouncedScan();
