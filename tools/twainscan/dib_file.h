// A native-transfer bitmap (a packed DIB: BITMAPINFOHEADER, colour table, rows) written as a
// BMP file. The block comes from the source, so its header is checked against the block's
// real size before a byte of it is trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace twainscan {

struct DibLayout {
    int32_t width = 0;
    int32_t height = 0;  // negative for a top-down bitmap
    uint16_t bitCount = 0;
    uint32_t headerBytes = 0;     // biSize
    uint32_t paletteEntries = 0;  // four bytes each
    uint64_t rowBytes = 0;        // padded to four bytes
    uint64_t dibBytes = 0;        // header, palette and rows: what the file takes over
};

bool ReadDibLayout(const uint8_t* dib, size_t blockBytes, DibLayout& layout, std::string& error);

// BITMAPFILEHEADER followed by the DIB's own bytes.
bool WriteDibAsBmp(const uint8_t* dib, const DibLayout& layout, const std::string& path,
                   std::string& error);

}  // namespace twainscan
