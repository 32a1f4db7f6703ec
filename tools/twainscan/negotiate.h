// The settings of the command line, given to the open source before it is enabled: transfer
// mechanism, pixel type, resolution, frame, image count and the file of a file transfer.
// Each value is read back after it is set, and every step is printed.
#pragma once

#include <string>

#include "tools/twainscan/memory_blocks.h"
#include "tools/twainscan/options.h"
#include "tools/twainscan/printer.h"
#include "tools/twainscan/source_link.h"

namespace twainscan {

bool Negotiate(SourceLink& link, MemoryBlocks& blocks, const Options& options,
               const std::string& firstImagePath, const Printer& print, std::string& error);

}  // namespace twainscan
