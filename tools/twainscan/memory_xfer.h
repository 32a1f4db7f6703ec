// Memory transfer: the source fills a buffer of ours with whole rows, one block per call,
// until TWRC_XFERDONE. Every block is checked against the image information and the blocks
// before it, and its rows go straight into a TIFF file, so memory stays one buffer.
#pragma once

#include <optional>
#include <string>

#include "common/twain.h"
#include "tools/twainscan/memory_blocks.h"
#include "tools/twainscan/printer.h"
#include "tools/twainscan/source_link.h"
#include "tools/twainscan/tiff_stream.h"

namespace twainscan {

// The largest buffer this application allocates, whatever a source prefers.
constexpr uint32_t kMaxMemoryBuffer = 64u * 1024 * 1024;

// The TIFF layout of the image the source announced. Line art and gray follow the pixel
// flavor: TWPF_CHOCOLATE (zero is darkest) is BlackIsZero, TWPF_VANILLA WhiteIsZero.
bool TiffFormatOf(const TW_IMAGEINFO& info, TW_UINT16 pixelFlavor, TiffFormat& format,
                  std::string& error);

// The buffer size: `wanted` when given, else the source's preference kept inside its own
// limits and kMaxMemoryBuffer. 0 with error set when the source's limits make no sense.
uint32_t ChooseBufferSize(const TW_SETUPMEMXFER& setup, std::optional<uint32_t> wanted,
                          std::string& error);

bool TransferMemory(SourceLink& link, MemoryBlocks& blocks, const TW_IMAGEINFO& info,
                    std::optional<uint32_t> bufferBytes, const std::string& path,
                    const Printer& print, std::string& error);

}  // namespace twainscan
