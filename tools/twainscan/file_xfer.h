// File transfer: the source writes the image itself into the file named by
// DAT_SETUPFILEXFER; twainscan then checks that a TIFF or BMP file is really there.
#pragma once

#include <string>

#include "tools/twainscan/memory_blocks.h"
#include "tools/twainscan/options.h"
#include "tools/twainscan/printer.h"
#include "tools/twainscan/source_link.h"

namespace twainscan {

// Names the file and the format. A source may take only TIFF through DAT_SETUPFILEXFER and
// choose other formats through ICAP_IMAGEFILEFORMAT alone, so a refused format is set up as
// TIFF and then asked for with the capability, which must end up holding it.
bool SetUpFileTransfer(SourceLink& link, MemoryBlocks& blocks, FileFormat format,
                       const std::string& path, const Printer& print, std::string& error);

bool TransferFile(SourceLink& link, MemoryBlocks& blocks, FileFormat format,
                  const std::string& path, const Printer& print, std::string& error);

// What the first bytes of a file say it is: "TIFF", "BMP", or "" for neither.
std::string ImageFileKind(const unsigned char* head, size_t bytes);

}  // namespace twainscan
