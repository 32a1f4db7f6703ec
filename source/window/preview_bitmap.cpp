#include "window/preview_bitmap.h"

#include <cstring>

#include "common/le_fields.h"
#include "engine/bitmap_block.h"

uint32_t PreviewPixelOffset(uint16_t bitCount) {
    return kPreviewInfoHeaderBytes + (bitCount == 8 ? kPreviewColourTableBytes : 0);
}

uint32_t PreviewStride(uint16_t bitCount, uint32_t width) { return BitmapStride(bitCount, width); }

uint64_t PreviewLayoutBytes(uint16_t bitCount, uint32_t width, uint32_t height) {
    if (bitCount != 8 && bitCount != 24) return 0;
    const uint32_t stride = PreviewStride(bitCount, width);
    if (stride == 0) return 0;
    return PreviewPixelOffset(bitCount) + uint64_t(stride) * height;
}

void WritePreviewInfoHeader(uint8_t* h, uint32_t width, uint32_t height, uint16_t bitCount) {
    std::memset(h, 0, kPreviewInfoHeaderBytes);
    StoreLe32(h, kPreviewInfoHeaderBytes);
    StoreLe32(h + 4, width);
    StoreLe32(h + 8, height);  // positive: bottom-up
    StoreLe16(h + 12, 1);
    StoreLe16(h + 14, bitCount);
    StoreLe32(h + 20, PreviewStride(bitCount, width) * height);
    StoreLe32(h + 32, bitCount == 8 ? 256 : 0);
}

bool AllocatePreviewBitmap(uint32_t width, uint32_t height, uint16_t bitCount, uint64_t bytes,
                           PreviewBitmap& out) {
    const uint64_t layout = PreviewLayoutBytes(bitCount, width, height);
    if (width == 0 || height == 0 || layout == 0 || bytes < layout || bytes > SIZE_MAX ||
        uint64_t(PreviewStride(bitCount, width)) * height > UINT32_MAX)
        return false;
    plat::MemHandle block = plat::MemAlloc(size_t(bytes));
    if (!block) return false;
    PreviewBitmap made{block, width, height, bitCount};
    LockedBitmap locked(made);
    if (!locked.ok()) {
        plat::MemFree(block);
        return false;
    }
    WritePreviewInfoHeader(locked.header(), width, height, bitCount);
    out = made;
    return true;
}

bool DuplicatePreviewBitmap(const PreviewBitmap& from, PreviewBitmap& out) {
    LockedBitmap source(from);
    if (!source.ok()) return false;
    const size_t bytes = plat::MemSize(from.block);
    PreviewBitmap copy{plat::MemAlloc(bytes), from.width, from.height, from.bitCount};
    if (!copy.block) return false;
    void* target = plat::MemLock(copy.block);
    if (!target) {
        plat::MemFree(copy.block);
        return false;
    }
    std::memcpy(target, source.header(), bytes);
    plat::MemUnlock(copy.block);
    out = copy;
    return true;
}

void FreePreviewBitmap(PreviewBitmap& bitmap) {
    if (bitmap.block) plat::MemFree(bitmap.block);
    bitmap = PreviewBitmap{};
}

void ReplacePreviewBitmap(PreviewBitmap& target, PreviewBitmap& source) {
    FreePreviewBitmap(target);
    target = source;
    source = PreviewBitmap{};
}

LockedBitmap::LockedBitmap(const PreviewBitmap& bitmap) {
    const uint64_t layout = PreviewLayoutBytes(bitmap.bitCount, bitmap.width, bitmap.height);
    if (!bitmap.block || layout == 0 || plat::MemSize(bitmap.block) < layout) return;
    base_ = static_cast<uint8_t*>(plat::MemLock(bitmap.block));
    if (!base_) return;
    block_ = bitmap.block;
    pixels_ = base_ + PreviewPixelOffset(bitmap.bitCount);
    stride_ = PreviewStride(bitmap.bitCount, bitmap.width);
}

LockedBitmap::~LockedBitmap() {
    if (block_) plat::MemUnlock(block_);
}
