// Native transfer: the source hands over a bitmap block (its handle in a TW_UINTPTR), which
// becomes a BMP file; the block is ours to free once the source answered TWRC_XFERDONE.
#pragma once

#include <string>

#include "common/twain.h"
#include "tools/twainscan/memory_blocks.h"
#include "tools/twainscan/printer.h"
#include "tools/twainscan/source_link.h"

namespace twainscan {

bool TransferNative(SourceLink& link, MemoryBlocks& blocks, const TW_IMAGEINFO& info,
                    const std::string& path, const Printer& print, std::string& error);

}  // namespace twainscan
