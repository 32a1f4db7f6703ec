// The engine's tone and colour state and the colour adjustment applied to scanned colour
// lines (scanner order) and to the preview (bitmap order).
#pragma once

#include <cstdint>

#include "engine/color_matrix.h"
#include "engine/tone_curve.h"
#include "settings/scan_settings.h"

struct ToneColourState {
    ToneTables tones{};          // the working curves
    EnhancementRecord current{};  // the record of the scan being transferred
    // Set to scanner order by the read loops, back to bitmap order when a transfer ends.
    PixelOrder order = PixelOrder::Bitmap;
};
extern ToneColourState TheToneColour;

// Back to the process-attach state, the prepared adjustment included.
void ResetToneColourState();

// Adjusts lines x pixelsPerLine 3-byte pixels from src to dst (which may be src): in bitmap
// order the working curves first, then the picked-colour correction and saturation of the
// record. Everything is prepared once and reused while the record, mode, order and curves
// stay the same, so calling it line by line costs only the pixel loop. With swapRedBlue the
// pixels are stored blue, green, red (as a BMP file keeps them) in the same pass.
void ApplyColorAdjust(uint32_t pixelsPerLine, uint32_t lines, uint8_t* dst, const uint8_t* src,
                      const EnhancementRecord& record, uint16_t scanMode,
                      bool swapRedBlue = false);

// Neutral enhancement values in both records: red, green and blue highlight 255, shadow 0,
// gamma 1.0 (1.8 for 24-bit and CMYK colour unless the application is the colour-management
// application), hue 0, wheel at (44, 115), no picked colour, saturation and colour balance
// 0, channel 0, and "FilterMode" 0. The master channel keeps its values.
void ResetEnhancements(ScanSettings& settings, EnhancementRecord& working,
                       bool colourManagementApplication);
