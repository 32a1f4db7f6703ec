// Renders the lines of one scan: the original seen through the window at the scan's
// resolution, passed through the line kernel with the scan's column gains and tone tables.
// Everything per column is computed once when the scan starts; a row of the original that
// repeats the previous one is copied instead of computed again.
#pragma once

#include <cstdint>
#include <vector>

#include "simulator/device/line_kernel.h"
#include "simulator/device/original.h"
#include "simulator/device/scan_geometry.h"
#include "simulator/device/tone.h"

struct LineRenderer {
    OriginalView view;
    ScanWindow window;
    ScanGeometry geometry;
    uint32_t scale = 0;
    std::vector<uint32_t> gains[3];
    std::vector<uint8_t> luts;  // 3 x 4096
    uint8_t threshold = 0;
    bool unityGain = false;
    std::vector<Rgb12> reflectance;
    std::vector<uint8_t> lastRow;
    uint64_t lastKey = 0;
    bool haveLastRow = false;
};

// gains: one vector per shaded channel, `geometry.pixels` long (see ColumnGains).
void PrepareRenderer(LineRenderer& r, const Original& original, const ScanWindow& window,
                     const ScanGeometry& geometry, uint32_t scale,
                     std::vector<uint32_t> (&gains)[3], const ToneState& tones);

// Writes line `line` (bytesPerLine bytes) to out.
void RenderLine(LineRenderer& r, uint32_t line, uint8_t* out);
