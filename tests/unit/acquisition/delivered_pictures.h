// The image a transfer delivers, taken through the entry point and brought to one form
// whatever the mechanism: rows top-down, one byte per sample (line art as 0 or 255, colour
// red, green, blue), so that native, memory and file transfers of a scan can be compared
// with each other and measured.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/twain.h"

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 1;  // 1 line art and gray, 3 colour
    std::vector<uint8_t> samples;
    std::string error;      // empty when the transfer delivered a readable image

    uint8_t At(uint32_t x, uint32_t y, uint32_t c = 0) const {
        return samples[(size_t(y) * width + x) * channels + c];
    }
    bool operator==(const Picture& o) const {
        return width == o.width && height == o.height && channels == o.channels &&
               samples == o.samples;
    }
};

// DAT_IMAGENATIVEXFER, the bitmap read back and freed.
Picture NativePicture(TW_IDENTITY& app);
// DAT_IMAGEMEMXFER calls with a pointer buffer of `bufferBytes` until the last block.
Picture MemoryPicture(TW_IDENTITY& app, uint32_t bufferBytes);
// DAT_SETUPFILEXFER to `path`, DAT_IMAGEFILEXFER, and the file read back (TIFF or BMP, as its
// first bytes say).
Picture FilePicture(TW_IDENTITY& app, const std::string& path);
