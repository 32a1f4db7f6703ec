// The preview's bitmaps (the prescan image, its working copy, the Original and Sample images):
// device-independent bitmaps in one movable block each, laid out as a 40-byte
// BITMAPINFOHEADER, the colour table (1024 bytes at 8 bits per pixel, none at 24), then the
// rows bottom-up, each padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

constexpr uint32_t kPreviewInfoHeaderBytes = 40;
constexpr uint32_t kPreviewColourTableBytes = 1024;

// A bitmap this layer made or checked: the fields always agree with the block.
struct PreviewBitmap {
    plat::MemHandle block = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitCount = 0;  // 24, or 8 with its 256-entry colour table
    bool Empty() const { return block == nullptr; }
};

// Where the rows start (after the header, and the colour table at 8 bits).
uint32_t PreviewPixelOffset(uint16_t bitCount);
// Stored bytes of a row, 0 when it would not fit in 32 bits.
uint32_t PreviewStride(uint16_t bitCount, uint32_t width);
// Header, colour table and rows; 0 for a bit count other than 8 or 24 or a row too long.
uint64_t PreviewLayoutBytes(uint16_t bitCount, uint32_t width, uint32_t height);

// Writes the info header of an uncompressed bottom-up bitmap (8-bit ones name all 256 colours).
void WritePreviewInfoHeader(uint8_t* header, uint32_t width, uint32_t height, uint16_t bitCount);

// A zero-filled block of `bytes` (at least the layout) with the header written. False, with
// out untouched, when the size is impossible or the memory is not there.
bool AllocatePreviewBitmap(uint32_t width, uint32_t height, uint16_t bitCount, uint64_t bytes,
                           PreviewBitmap& out);
// A block of the same size holding the same bytes. False (out untouched) without memory.
bool DuplicatePreviewBitmap(const PreviewBitmap& from, PreviewBitmap& out);
void FreePreviewBitmap(PreviewBitmap& bitmap);
// Frees target and hands it what source held; source is left empty.
void ReplacePreviewBitmap(PreviewBitmap& target, PreviewBitmap& source);

// The bitmap's block locked for the life of the object.
class LockedBitmap {
public:
    explicit LockedBitmap(const PreviewBitmap& bitmap);
    ~LockedBitmap();
    LockedBitmap(const LockedBitmap&) = delete;
    LockedBitmap& operator=(const LockedBitmap&) = delete;

    bool ok() const { return base_ != nullptr; }
    uint8_t* header() const { return base_; }
    uint8_t* colourTable() const { return base_ + kPreviewInfoHeaderBytes; }
    // Stored row y (0 is the image's bottom row).
    uint8_t* row(uint32_t y) const { return pixels_ + size_t(y) * stride_; }
    uint32_t stride() const { return stride_; }

private:
    plat::MemHandle block_ = nullptr;
    uint8_t* base_ = nullptr;
    uint8_t* pixels_ = nullptr;
    uint32_t stride_ = 0;
};
