// Reading the bitmap the prescan library leaves ("PVWC0000.BMP"): a 24-bit, uncompressed,
// bottom-up BMP with a 40-byte info header. The file comes from outside the source, so every
// size in its headers must agree with every other and with the file's length before a byte
// of pixels is read; anything else is refused whole.
#pragma once

#include <cstdint>
#include <string>

#include "window/preview_bitmap.h"

constexpr uint32_t kPrescanFileHeaderBytes = 14;
constexpr uint32_t kPrescanHeadBytes = kPrescanFileHeaderBytes + kPreviewInfoHeaderBytes;
// The widest and longest prescan taken: the A3 bed at the high density is 702 x 1020 pixels,
// so a side beyond this is no prescan and is refused before any memory is asked for.
constexpr uint32_t kLargestPrescanSide = 4096;

struct PrescanLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;  // bytes of a stored row
};

// Checks the 54 bytes at the start of a file of fileBytes: "BM", the file size field equal
// to the length, pixels right after the 40-byte info header, one plane, 24 bits, no
// compression, no colour table, width and height 1..kLargestPrescanSide (bottom-up), an
// image size field of 0 or the rows' bytes, and exactly the rows' bytes after the headers.
bool CheckPrescanHead(const uint8_t* head, uint64_t fileBytes, PrescanLayout& out);

enum class PrescanRead : uint8_t {
    Read,
    NoFile,       // cannot be opened
    Malformed,    // refused by CheckPrescanHead, or shorter than it said when read
    OutOfMemory,  // the block for the image could not be had (message 604)
};

// The image as read, in one block: the file's info header, then the rows as stored. out is
// only set on Read.
PrescanRead ReadPrescanBitmap(const char* path, PreviewBitmap& out);

// The Windows directory + "\TWAIN_32\KVTC_A3\PVWC0000.BMP"; "" when the directory is unknown.
std::string PrescanBitmapFilePath();
