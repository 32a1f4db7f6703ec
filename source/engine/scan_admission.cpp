#include "engine/scan_admission.h"

#include <algorithm>
#include <cstring>

#include "engine/scan_window.h"
#include "session/messages.h"

namespace {

uint64_t BytesPerLine(uint32_t pixels, const ScanSettings& s) {
    switch (s.ScanMode) {
        case kModeLineArt: return (pixels + 7) / 8;
        case kModeFastGray:
        case kModeGray: return pixels;
        default:
            if (s.ScanSubMode == kSubMode36Bit) return uint64_t(pixels) * 6;
            if (s.ScanSubMode == kSubModeCmyk) return uint64_t(pixels) * 4;
            return uint64_t(pixels) * 3;
    }
}

}  // namespace

bool AdmitScanMode(const ScanSettings& s, const ApplicationTraits& app, plat::WindowHandle owner) {
    if (s.ScanMode != kModeColor || s.ScanSubMode == kSubMode24Bit) return true;
    const bool admitted = s.ScanSubMode == kSubModeCmyk ? app.cmyk : app.deepColour;
    if (!admitted) ShowErrorMessage(owner, 705);
    return admitted;
}

uint64_t EstimateImageBytes(const ScanArea& area, const ScanSettings& s, uint16_t optical) {
    const uint32_t resolution = EffectiveResolutionOf(s, optical);
    const uint32_t width = area.right > area.left ? uint32_t(area.right - area.left) : 0;
    const uint32_t height = area.bottom > area.top ? uint32_t(area.bottom - area.top) : 0;
    const uint32_t pixels = ScannedPixels(width, resolution, WindowScale(optical));
    const uint32_t lines = ScannedPixels(height, resolution, WindowScale(optical));
    return BytesPerLine(pixels, s) * lines;
}

bool CheckDiskSpace(uint64_t imageBytes, TW_UINT16 fileFormat, plat::WindowHandle owner) {
    uint64_t header = 0;
    if (fileFormat == TWFF_TIFF) header = 1032;
    else if (fileFormat == TWFF_BMP) header = 1078;
    else return false;
    char temp[260] = {};
    plat::TempPath(temp, sizeof temp);
    const int64_t free = plat::FreeDiskBytes(temp);
    if (free < 0) {
        ShowErrorMessage(owner, 619);
        return false;
    }
    const uint64_t required = imageBytes + header;
    if (uint64_t(free) >= required) return true;
    auto clamp32 = [](uint64_t v) { return static_cast<uint32_t>(std::min<uint64_t>(v, 0xFFFFFFFFu)); };
    ShowSizeMessage(owner, clamp32(uint64_t(free)), clamp32(required - 1));
    // Choosing another disk for the temporary files is offered by the scanning window.
    return false;
}
