// The TW_IMAGEINFO answer of a started scan.
#pragma once

#include "common/twain.h"
#include "engine/descreen_reduction.h"
#include "engine/scan_job_state.h"
#include "settings/scan_settings.h"

struct ImageInfoInput {
    const ScanSettings* settings;
    const ScanJobState* job;
    uint16_t opticalResolution;
    bool faxApplication;  // the applications of strings 55 and 60 want 200 for 198 dpi
    const DescreenDropMaps* maps;  // the reduction of a descreened image, when the job has one
};

// Width and length are what every transfer of the scan delivers. False (the record zeroed
// but for the samples) when the scan's rows cannot be delivered at all.
bool FillImageInfo(const ImageInfoInput& input, TW_IMAGEINFO& info);

// Pixel width of the scanned lines for the mode (line art 8 per byte, colour 3 bytes).
uint16_t PixelWidthOf(uint32_t bytesPerLine, uint16_t mode);
