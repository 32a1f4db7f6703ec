#include "prescan/prescan_bitmap.h"

#include <cstdint>

#include "common/le_fields.h"
#include "common/red_blue_swap.h"
#include "common/prescan_api.h"

namespace {

constexpr uint32_t kInfoBytes = 40;
constexpr uint32_t kFileHeaderBytes = 14;

}  // namespace

bool BuildBitmapHeader(uint32_t pixels, uint32_t lines, uint32_t rowBytes, bool colour,
                       std::vector<uint8_t>& header) {
    const uint32_t headerBytes = colour ? 54 : 1078;
    const uint64_t fileBytes = uint64_t(lines) * rowBytes + headerBytes;
    if (fileBytes > UINT32_MAX || pixels > INT32_MAX || lines > INT32_MAX) return false;
    header.assign(headerBytes, 0);
    uint8_t* h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    StoreLe32(h + 2, static_cast<uint32_t>(fileBytes));
    StoreLe32(h + 10, headerBytes);
    StoreLe32(h + kFileHeaderBytes, kInfoBytes);
    StoreLe32(h + 18, pixels);
    StoreLe32(h + 22, lines);  // positive: the rows are stored bottom-up
    StoreLe16(h + 26, 1);
    StoreLe16(h + 28, colour ? 24 : 8);
    StoreLe32(h + 46, colour ? 0 : 256);
    if (!colour)
        for (uint32_t i = 0; i < 256; ++i) {
            uint8_t* entry = h + 54 + 4 * i;
            entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(i);
        }
    return true;
}

std::string PrescanBitmapPath() {
    char dir[260];
    const uint32_t n = plat::WindowsDirectory(dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return "";
    return std::string(dir, n) + kPrescanBitmapPath;
}

void ScannerLineToRow(const uint8_t* line, uint32_t pixels, uint8_t* row) {
    SwapRedBlue(line, row, pixels);
}
