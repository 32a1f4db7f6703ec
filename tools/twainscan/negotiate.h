// The settings of the command line, given to the open source before it is enabled: transfer
// mechanism, pixel type, resolution, frame, image count and the file of a file transfer.
// Each value is read back after it is set, and every step is printed.
#pragma once

#include <string>

#include "memory_blocks.h"
#include "options.h"
#include "printer.h"
#include "source_link.h"

namespace twainscan {

bool Negotiate(SourceLink& link, MemoryBlocks& blocks, const Options& options,
               const std::string& firstImagePath, const Printer& print, std::string& error);

}  // namespace twainscan
