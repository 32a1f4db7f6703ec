#include "engine/native_image.h"

#include <algorithm>
#include <cstring>

#include "common/le_fields.h"
#include "engine/color_adjust.h"
#include "engine/slow_speed.h"
#include "common/red_blue_swap.h"
#include "settings/scan_settings.h"

namespace {

constexpr uint32_t kHeaderBytes = 40;

void WriteHeader(uint8_t* p, const NativeImageLayout& layout) {
    StoreLe32(p, kHeaderBytes);
    StoreLe32(p + 4, layout.width);
    StoreLe32(p + 8, layout.rows);  // positive: rows bottom-up
    StoreLe16(p + 12, 1);
    StoreLe16(p + 14, layout.bitCount);
    StoreLe32(p + 32, layout.paletteEntries);
}

void WritePalette(uint8_t* p, uint16_t entries) {
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t level = entries == 2 ? static_cast<uint8_t>(i * 255) : static_cast<uint8_t>(i);
        p[4 * i] = p[4 * i + 1] = p[4 * i + 2] = level;
    }
}

}  // namespace

bool NativeLayoutOf(uint16_t mode, uint16_t subMode, uint32_t width, uint32_t rows,
                    NativeImageLayout& layout) {
    layout.bitCount = mode == kModeLineArt ? 1 : mode == kModeColor ? 24 : 8;
    layout.paletteEntries = layout.bitCount == 1 ? 2 : layout.bitCount == 8 ? 256 : 0;
    layout.deepColour = mode == kModeColor && subMode == kSubMode36Bit;
    layout.width = width;
    layout.rows = rows;
    const uint64_t rowBytes = (uint64_t(width) * layout.bitCount + 31) / 32 * 4;
    const uint64_t size = kHeaderBytes + 4ull * layout.paletteEntries + rowBytes * rows;
    if (width == 0 || rows == 0 || rows > 0x7FFFFFFF || size > 0xFFFFFFFFull) return false;
    layout.rowBytes = static_cast<uint32_t>(rowBytes);
    layout.size = static_cast<uint32_t>(size);
    return true;
}

plat::MemHandle AllocNativeImage(const NativeImageLayout& layout) {
    plat::MemHandle block = plat::MemAlloc(layout.size);
    if (!block) return nullptr;
    auto* p = static_cast<uint8_t*>(plat::MemLock(block));
    if (!p) {
        plat::MemFree(block);
        return nullptr;
    }
    WriteHeader(p, layout);
    WritePalette(p + kHeaderBytes, layout.paletteEntries);
    plat::MemUnlock(block);
    return block;
}

void NativeLineWriter::ReduceDeepLine(const uint8_t* src, uint32_t pixels, uint8_t* row) {
    for (uint32_t i = 0; i < pixels; ++i, src += 6, row += 3) {
        row[0] = static_cast<uint8_t>((LoadLe16(src + 4) & 4095) >> 4);
        row[1] = static_cast<uint8_t>((LoadLe16(src + 2) & 4095) >> 4);
        row[2] = static_cast<uint8_t>((LoadLe16(src) & 4095) >> 4);
    }
}

NativeLineWriter::NativeLineWriter(uint8_t* bitmap, const NativeImageLayout& layout, uint16_t mode,
                                   uint32_t bytesPerLine, uint32_t lines, Enlargement* enlargement)
    : rows_(bitmap + kHeaderBytes + 4 * layout.paletteEntries),
      layout_(layout),
      mode_(mode),
      bytesPerLine_(bytesPerLine),
      lines_(lines),
      enlargement_(enlargement) {}

// Row `row` counted from the top of the image; the bitmap stores the bottom row first.
uint8_t* NativeLineWriter::RowAddress(uint64_t row) const {
    return rows_ + (layout_.rows - 1 - row) * layout_.rowBytes;
}

void NativeLineWriter::WriteLine(uint8_t* src, uint32_t line) {
    if (line >= layout_.rows) return;
    uint8_t* row = RowAddress(line);
    const uint32_t copy = std::min(bytesPerLine_, layout_.rowBytes);
    if (mode_ != kModeColor) {
        std::memcpy(row, src, copy);
    } else if (layout_.deepColour) {
        ReduceDeepLine(src, layout_.width, row);
    } else {
        const uint32_t pixels = copy / 3;
        ApplyColorAdjust(pixels, 1, src, src, TheToneColour.current, mode_);
        SwapRedBlue(src, row, pixels);  // a DIB stores blue, green, red
    }
}

// The line, adjusted and in the bitmap's byte order in place, into the rows it gives.
bool NativeLineWriter::EnlargeLine(uint8_t* src) {
    Enlargement& e = *enlargement_;
    if (mode_ == kModeColor)
        ApplyColorAdjust(bytesPerLine_ / 3, 1, src, src, TheToneColour.current, mode_, true);
    if (e.deliveredRows >= layout_.rows) return true;
    uint32_t written = 0;
    return EnlargeLines(e, src, 1, RowAddress(e.deliveredRows), -int64_t(layout_.rowBytes),
                        &written);
}

bool NativeLineWriter::TakeBand(const ScanBuffers& buffers, uint32_t firstLine, uint32_t lines) {
    for (uint32_t line = firstLine; line < firstLine + lines && line < lines_; ++line) {
        SlowSpeedWait(line);
        uint8_t* src = ScanLineAddress(buffers, line, bytesPerLine_);
        if (!enlargement_) {
            WriteLine(src, line);
        } else if (!EnlargeLine(src)) {
            return false;
        }
    }
    return true;
}
