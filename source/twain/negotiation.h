// Everything an application negotiates with the source; set to start values at every open.
#pragma once

#include <string>

#include "common/twain.h"

struct NegotiationRecord {
    TW_UINT32 XferGroup = DG_IMAGE;
    TW_IMAGEINFO ImageInfoRecord{};
    TW_IMAGELAYOUT DefaultLayout{};
    TW_IMAGELAYOUT CurrentLayout{};
    TW_IMAGEMEMXFER MemXferRecord{};
    TW_SETUPFILEXFER DefaultFileSetup{};
    TW_SETUPFILEXFER CurrentFileSetup{};
    TW_UINT16 PendingCount = 0xFFFF;
    TW_UINT8 XferMechIndex = 2;  // TWSX_MEMORY
    TW_UINT8 FileFormatIndex = 0;
    TW_UINT16 SupportedSizeIndex = 0;
    TW_UINT8 ResolutionIndex = 4;  // 300 dpi
    TW_UINT8 UnitsIndex = 0;
    TW_UINT8 PixelTypeIndex = 0;
    TW_INT16 Brightness = 0;
    TW_INT16 Contrast = 0;
    TW_BOOL AutoFeed = 0;
};

extern NegotiationRecord TheNegotiation;

// Start values of every negotiated item; fileName becomes the default and current file
// set-up's FileName (cut to fit and terminated).
void ResetNegotiation(NegotiationRecord& record, const char* fileName);

// A fresh temporary file name for file transfers and spooling: a unique name from the system
// with the prefix "CORVANE" (the file it creates is deleted at once), cut at its last "."
// and given the extension text of the current language. Empty when the system has none.
std::string MakeTransferFileName(const char* extensionText);
