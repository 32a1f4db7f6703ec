#include "simulator/device/line_renderer.h"

#include <cstring>

void PrepareRenderer(LineRenderer& r, const Original& original, const ScanWindow& window,
                     const ScanGeometry& geometry, uint32_t scale,
                     std::vector<uint32_t> (&gains)[3], const ToneState& tones) {
    r.window = window;
    r.geometry = geometry;
    r.scale = scale;
    std::vector<int32_t> columns(geometry.pixels);
    for (uint32_t j = 0; j < geometry.pixels; ++j)
        columns[j] = SampleCentreMils(window.xStart, j, window.resolution, scale);
    PrepareView(r.view, original, window.source, std::move(columns));
    r.unityGain = true;
    for (int c = 0; c < 3; ++c) {
        r.gains[c] = std::move(gains[c]);
        for (uint32_t g : r.gains[c]) r.unityGain = r.unityGain && g == 65536;
    }
    // Single-channel and gray lines use the gray slot, colour lines the red, green, blue slots.
    r.luts.assign(3 * 4096, 0);
    const bool colour = window.colourType == kColourTypeColour ||
                        window.colourType == kColourTypeColour36;
    for (int c = 0; c < 3; ++c) {
        uint8_t lut[4096];
        ExpandTone(tones, colour ? 1 + c : 0, lut);
        std::memcpy(r.luts.data() + 4096 * c, lut, 4096);
    }
    r.threshold = tones.threshold;
    r.reflectance.assign(geometry.pixels, Rgb12{0, 0, 0});
    r.lastRow.assign(geometry.bytesPerLine, 0);
    r.haveLastRow = false;
}

void RenderLine(LineRenderer& r, uint32_t line, uint8_t* out) {
    const int32_t y = SampleCentreMils(r.window.yStart, line, r.window.resolution, r.scale);
    const uint64_t key = ViewRowKey(r.view, y);
    if (!r.haveLastRow || key != r.lastKey) {
        ViewRow(r.view, y, r.reflectance.data());
        KernelTables t;
        for (int c = 0; c < 3; ++c) {
            t.gain[c] = r.gains[c].empty() ? r.gains[0].data() : r.gains[c].data();
            t.lut[c] = r.luts.data() + 4096 * c;
        }
        t.threshold = r.threshold;
        t.unityGain = r.unityGain;
        ShadeLine(r.window.colourType, r.reflectance.data(), r.geometry.pixels, t,
                  r.lastRow.data());
        r.lastKey = key;
        r.haveLastRow = true;
    }
    std::memcpy(out, r.lastRow.data(), r.geometry.bytesPerLine);
}
