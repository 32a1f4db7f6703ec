// The checks a scan job makes before it touches the scanner: whether the application can
// take the mode, and whether the temporary files will fit on the disk.
#pragma once

#include <cstdint>

#include "common/twain.h"
#include "engine/application_traits.h"
#include "engine/scan_window.h"
#include "platform/platform.h"
#include "settings/scan_settings.h"

// 36-bit colour and CMYK only for the applications that take them. Shows 705 and returns
// false otherwise.
bool AdmitScanMode(const ScanSettings& settings, const ApplicationTraits& application,
                   plat::WindowHandle owner);

// Bytes of the image the area gives at the effective resolution.
uint64_t EstimateImageBytes(const ScanArea& area, const ScanSettings& settings,
                            uint16_t opticalResolution);

// The image plus the file header must fit on the temporary directory's disk. Shows 619 when
// the free space cannot be found out, the size message when it is too small.
bool CheckDiskSpace(uint64_t imageBytes, TW_UINT16 fileFormat, plat::WindowHandle owner);
