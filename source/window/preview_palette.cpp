#include "window/preview_palette.h"

namespace {

void SetEntry(PreviewPalette& p, int i, int red, int green, int blue) {
    p.rgb[i][0] = uint8_t(red);
    p.rgb[i][1] = uint8_t(green);
    p.rgb[i][2] = uint8_t(blue);
}

}  // namespace

bool PreviewShowsTrueColour(int planes, int bitsPerPixel, uint16_t scanMode) {
    return int64_t(planes) * bitsPerPixel > 8 && scanMode == kModeColor;
}

void BuildPreviewPalette(uint16_t scanMode, const ToneTables& tones, PreviewPalette& out) {
    for (int i = 0; i < 256; ++i) {
        const int t = tones.blue[i];
        if (scanMode == kModeLineArt) {
            const int level = t < 128 ? 0 : 255;
            SetEntry(out, i, level, level, level);
        } else if (scanMode == kModeColor) {
            SetEntry(out, i, (i & 0xE0) + 16, (((i >> 2) & 7) << 5) | 16, ((i & 3) << 6) | 32);
        } else {
            SetEntry(out, i, t, t, t);
        }
    }
}

void WriteColourTable(const PreviewPalette& palette, uint8_t* table) {
    for (int i = 0; i < 256; ++i, table += 4) {
        table[0] = palette.rgb[i][2];
        table[1] = palette.rgb[i][1];
        table[2] = palette.rgb[i][0];
        table[3] = 0;
    }
}
