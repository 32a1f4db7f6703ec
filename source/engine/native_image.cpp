#include "native_image.h"

#include <algorithm>
#include <cstring>

#include "color_adjust.h"
#include "le_fields.h"
#include "red_blue_swap.h"
#include "scan_settings.h"

namespace {

constexpr uint32_t kHeaderBytes = 40;

void WriteHeader(uint8_t* p, const NativeImageLayout& layout, uint16_t lines) {
    StoreLe32(p, kHeaderBytes);
    StoreLe32(p + 4, layout.width);
    StoreLe32(p + 8, lines);  // positive: rows bottom-up
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

bool NativeLayoutOf(uint16_t mode, uint16_t subMode, const ImageGeometry& g,
                    NativeImageLayout& layout) {
    layout.bitCount = mode == kModeLineArt ? 1 : mode == kModeColor ? 24 : 8;
    layout.paletteEntries = layout.bitCount == 1 ? 2 : layout.bitCount == 8 ? 256 : 0;
    layout.deepColour = mode == kModeColor && subMode == kSubMode36Bit;
    layout.width = layout.deepColour ? g.bytesPerLine / 6 : g.pixelWidth;
    layout.rowBytes = layout.deepColour ? (3 * layout.width + 3) & ~3u : g.alignedLineLength;
    const uint64_t size = kHeaderBytes + 4ull * layout.paletteEntries + uint64_t(layout.rowBytes) * g.lines;
    if (size > 0xFFFFFFFFull) return false;
    layout.size = static_cast<uint32_t>(size);
    return true;
}

plat::MemHandle AllocNativeImage(const NativeImageLayout& layout, uint16_t lines) {
    plat::MemHandle block = plat::MemAlloc(layout.size);
    if (!block) return nullptr;
    auto* p = static_cast<uint8_t*>(plat::MemLock(block));
    if (!p) {
        plat::MemFree(block);
        return nullptr;
    }
    WriteHeader(p, layout, lines);
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
                                   uint32_t bytesPerLine, uint32_t lines)
    : rows_(bitmap + kHeaderBytes + 4 * layout.paletteEntries),
      layout_(layout),
      mode_(mode),
      bytesPerLine_(bytesPerLine),
      lines_(lines) {}

bool NativeLineWriter::TakeBand(const ScanBuffers& buffers, uint32_t firstLine, uint32_t lines) {
    const uint32_t copy = std::min(bytesPerLine_, layout_.rowBytes);
    for (uint32_t line = firstLine; line < firstLine + lines && line < lines_; ++line) {
        SlowSpeedWait(line);
        uint8_t* src = ScanLineAddress(buffers, line, bytesPerLine_);
        uint8_t* row = rows_ + uint64_t(lines_ - 1 - line) * layout_.rowBytes;
        if (mode_ != kModeColor) {
            std::memcpy(row, src, copy);
            continue;
        }
        if (layout_.deepColour) {
            ReduceDeepLine(src, layout_.width, row);
            continue;
        }
        const uint32_t pixels = copy / 3;
        ApplyColorAdjust(pixels, 1, src, src, TheToneColour.current, mode_);
        SwapRedBlue(src, row, pixels);  // a DIB stores blue, green, red
    }
    return true;
}
