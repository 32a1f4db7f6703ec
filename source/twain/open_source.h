// MSG_OPENDS and MSG_CLOSEDS.
#pragma once

#include <string>

#include "common/twain.h"

// Configuration read at every open and kept while the source is open.
struct OpenConfiguration {
    std::string SourceLanguageName = "None";
    std::string PortLibraryPath;
};

extern OpenConfiguration TheOpenConfiguration;

void OpenSource(TW_MEMREF data);
void CloseSource(TW_MEMREF data);
