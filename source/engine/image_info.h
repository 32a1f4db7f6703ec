// The TW_IMAGEINFO answer of a started scan.
#pragma once

#include "scan_job_state.h"
#include "scan_settings.h"
#include "twain.h"

struct ImageInfoInput {
    const ScanSettings* settings;
    const ScanJobState* job;
    uint16_t opticalResolution;
    bool faxApplication;  // the applications of strings 55 and 60 want 200 for 198 dpi
    // Descreened below 300 dpi in a memory or file transfer: the reduced line (bytes) and
    // line count the transfer delivers; 0 when the lines are delivered as scanned.
    uint32_t reducedBytes = 0;
    uint32_t reducedLines = 0;
};

void FillImageInfo(const ImageInfoInput& input, TW_IMAGEINFO& info);

// Pixel width of the scanned lines for the mode (line art 8 per byte, colour 3 bytes).
uint16_t PixelWidthOf(uint32_t bytesPerLine, uint16_t mode);
