#include "tools/twainscan/dib_file.h"

#include "common/le_fields.h"
#include "tools/twainscan/output_file.h"

namespace twainscan {
namespace {

constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kBiRgb = 0;

bool Refuse(std::string& error, const std::string& why) {
    error = "the native bitmap is not usable: " + why;
    return false;
}

bool KnownBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

bool ReadDibLayout(const uint8_t* dib, size_t blockBytes, DibLayout& layout, std::string& error) {
    if (!dib || blockBytes < kInfoHeaderBytes)
        return Refuse(error, "the block holds " + std::to_string(blockBytes) + " bytes");
    layout.headerBytes = LoadLe32(dib);
    layout.width = static_cast<int32_t>(LoadLe32(dib + 4));
    layout.height = static_cast<int32_t>(LoadLe32(dib + 8));
    const uint16_t planes = LoadLe16(dib + 12);
    layout.bitCount = LoadLe16(dib + 14);
    const uint32_t compression = LoadLe32(dib + 16);
    const uint32_t coloursUsed = LoadLe32(dib + 32);

    if (layout.headerBytes < kInfoHeaderBytes || layout.headerBytes > blockBytes)
        return Refuse(error, "header size " + std::to_string(layout.headerBytes));
    if (layout.width <= 0 || layout.height == 0)
        return Refuse(error, "size " + std::to_string(layout.width) + " x " +
                                 std::to_string(layout.height));
    if (planes != 1 || !KnownBitCount(layout.bitCount))
        return Refuse(error, std::to_string(planes) + " planes of " +
                                 std::to_string(layout.bitCount) + " bits");
    if (compression != kBiRgb)
        return Refuse(error, "compression " + std::to_string(compression));
    const uint32_t fullPalette = layout.bitCount <= 8 ? 1u << layout.bitCount : 0;
    if (fullPalette && coloursUsed > fullPalette)
        return Refuse(error, std::to_string(coloursUsed) + " palette entries");
    layout.paletteEntries = coloursUsed ? coloursUsed : fullPalette;

    const int64_t lines = layout.height < 0 ? -int64_t(layout.height) : layout.height;
    layout.rowBytes = (uint64_t(layout.width) * layout.bitCount + 31) / 32 * 4;
    layout.dibBytes = uint64_t(layout.headerBytes) + uint64_t(layout.paletteEntries) * 4 +
                      layout.rowBytes * uint64_t(lines);
    if (layout.dibBytes > blockBytes)
        return Refuse(error, "it needs " + std::to_string(layout.dibBytes) +
                                 " bytes but the block holds " + std::to_string(blockBytes));
    if (layout.dibBytes + kFileHeaderBytes > 0xFFFFFFFFu)
        return Refuse(error, "it is too large for a BMP file");
    return true;
}

bool WriteDibAsBmp(const uint8_t* dib, const DibLayout& layout, const std::string& path,
                   std::string& error) {
    uint8_t header[kFileHeaderBytes] = {'B', 'M'};
    StoreLe32(header + 2, static_cast<uint32_t>(kFileHeaderBytes + layout.dibBytes));
    StoreLe32(header + 10, kFileHeaderBytes + layout.headerBytes + layout.paletteEntries * 4);
    OutputFile file;
    return file.Create(path, error) && file.Write(header, sizeof header, error) &&
           file.Write(dib, static_cast<size_t>(layout.dibBytes), error) && file.Finish(error);
}

}  // namespace twainscan
