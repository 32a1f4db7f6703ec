#include "engine/bitmap_block.h"

#include "common/le_fields.h"

namespace {

// BITMAPINFOHEADER field offsets.
constexpr size_t kSize = 0, kWidth = 4, kHeight = 8, kPlanes = 12, kBitCount = 14,
                 kCompression = 16, kClrUsed = 32;

// The palette entries the rows are preceded by: colours used, or the full table of a
// bitmap of up to 8 bits when that field is 0. UINT32_MAX when the field is impossible.
uint32_t PaletteEntries(uint16_t bitCount, uint32_t clrUsed) {
    const uint32_t full = bitCount <= 8 ? (1u << bitCount) : 256u;
    if (clrUsed > full) return UINT32_MAX;
    if (clrUsed == 0 && bitCount <= 8) return full;
    return clrUsed;
}

}  // namespace

uint32_t BitmapStride(uint16_t bitCount, uint32_t width) {
    const uint64_t bytes = ((uint64_t(bitCount) * width + 31) & ~uint64_t(31)) / 8;
    return bytes > UINT32_MAX ? 0 : uint32_t(bytes);
}

bool ViewBitmapBlock(uint8_t* block, size_t blockBytes, BitmapView* view) {
    if (!block || !view || blockBytes < kBitmapInfoHeaderSize) return false;
    const uint32_t headerSize = LoadLe32(block + kSize);
    const int64_t width = int32_t(LoadLe32(block + kWidth));
    const int64_t height = int32_t(LoadLe32(block + kHeight));
    const uint16_t bitCount = LoadLe16(block + kBitCount);
    if (headerSize < kBitmapInfoHeaderSize || LoadLe16(block + kPlanes) != 1 ||
        LoadLe32(block + kCompression) != 0)
        return false;
    if (bitCount != 1 && bitCount != 8 && bitCount != 24) return false;
    if (width <= 0 || height == 0) return false;
    const uint32_t entries = PaletteEntries(bitCount, LoadLe32(block + kClrUsed));
    if (entries == UINT32_MAX) return false;

    const uint64_t rows = uint64_t(height < 0 ? -height : height);
    const uint32_t stride = BitmapStride(bitCount, uint32_t(width));
    const uint64_t offset = uint64_t(headerSize) + 4ull * entries;
    if (stride == 0 || offset > blockBytes) return false;
    if (rows > (blockBytes - offset) / stride) return false;

    view->pixels = block + offset;
    view->width = uint32_t(width);
    view->rows = uint32_t(rows);
    view->stride = stride;
    view->rowBytes = uint32_t((uint64_t(bitCount) * uint64_t(width) + 7) / 8);
    view->bitCount = bitCount;
    return true;
}
