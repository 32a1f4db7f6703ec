// The pixel rows of a device-independent bitmap held in one memory block (the native
// transfer's image): a BITMAPINFOHEADER, its palette, then the rows in stored order. The
// whole-image filters work only through a view that has been checked against the block, so
// a header that claims more than the block holds never leads to a read or write outside it.
#pragma once

#include <cstddef>
#include <cstdint>

struct BitmapView {
    uint8_t* pixels = nullptr;  // first stored row
    uint32_t width = 0;         // pixels per row
    uint32_t rows = 0;          // stored rows (the header's height, whatever its sign)
    uint32_t stride = 0;        // bytes from one stored row to the next, a multiple of 4
    uint32_t rowBytes = 0;      // bytes of a row that hold pixels: (width x bits + 7) / 8
    uint16_t bitCount = 0;      // 1, 8 or 24
};

constexpr uint32_t kBitmapInfoHeaderSize = 40;

// Reads the header at the start of block and fills view when it describes an uncompressed
// 1-, 8- or 24-bit bitmap whose palette and rows lie inside the block's bytes: header size
// at least 40, one plane, no compression, width and height non-zero, colours used no more
// than the bit count allows. Returns false (view untouched) otherwise.
bool ViewBitmapBlock(uint8_t* block, size_t blockBytes, BitmapView* view);

// ((bits x width + 31) & ~31) / 8, the stored length of a row; 0 when it exceeds 32 bits.
uint32_t BitmapStride(uint16_t bitCount, uint32_t width);
