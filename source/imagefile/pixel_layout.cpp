#include "imagefile/pixel_layout.h"

#include "settings/scan_settings.h"

bool PixelLayoutOfMode(uint16_t scanMode, uint16_t subMode, PixelLayout* layout) {
    switch (scanMode) {
    case kModeLineArt: *layout = PixelLayout::LineArt; return true;
    case kModeFastGray:
    case kModeGray: *layout = PixelLayout::Gray; return true;
    case kModeColor:
        if (subMode == kSubMode24Bit) {
            *layout = PixelLayout::Rgb24;
            return true;
        }
        if (subMode == kSubMode36Bit) {
            *layout = PixelLayout::Rgb48;
            return true;
        }
        return false;
    default: return false;
    }
}

bool IsColorLayout(PixelLayout layout) {
    return layout == PixelLayout::Rgb24 || layout == PixelLayout::Rgb48;
}

uint32_t BytesPerPixel(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::Gray: return 1;
    case PixelLayout::Rgb24: return 3;
    case PixelLayout::Rgb48: return 6;
    default: return 0;
    }
}
