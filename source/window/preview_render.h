// Re-rendering a preview image (the prescan's working copy, or the Sample box's) so that it
// shows the current tone and colour settings. A render streams over the rows: each row of
// the image is adjusted into the working copy, or adjusted and turned into palette indexes
// when the display goes through the palette. Painting without a change renders nothing.
#pragma once

#include <cstdint>

#include "engine/color_adjust_plan.h"
#include "engine/color_table.h"
#include "engine/tone_curve.h"
#include "settings/scan_settings.h"
#include "window/preview_bitmap.h"
#include "window/preview_palette.h"

// What a render shows.
struct PreviewLook {
    EnhancementRecord record{};
    uint16_t scanMode = kModeColor;  // base mode, 1011..1014
    bool trueColour = false;         // PreviewShowsTrueColour
    bool outputMatch = false;        // "OutputMatch": the colour table instead of the record
};

constexpr ToneTables IdentityTones() {
    ToneTables t{};
    for (int i = 0; i < 256; ++i) t.blue[i] = t.green[i] = t.red[i] = uint8_t(i);
    return t;
}

// One image's render state. The three flags are the callers' (a forced render, a scan mode
// change, a new image); all are cleared by the next render.
struct PreviewRenderState {
    bool forced = false;
    bool modeChanged = false;
    bool newImage = true;
    bool rendered = false;  // last and the working copy describe each other
    PreviewLook last{};
    const void* lastTable = nullptr;  // the colour table's block at the last matched render
    ToneTables tones = IdentityTones();  // kept when a curve cannot be built
    PreviewPalette palette{};            // valid after a render at 8 bits
    ColorAdjustPlan plan{};
    uint32_t renders = 0;  // renders done, for whoever watches the cost
};

// Whether the settings that change the image differ: each channel's highlight, shadow and
// gamma, the colour controls (picked colour, hue, the wheel's position), saturation and
// colour balance. The channel being edited and the unused words do not count.
bool EnhancementLooksDifferent(const EnhancementRecord& a, const EnhancementRecord& b);

// Whether the next paint has to render: a flag is set, nothing was rendered yet, or the look
// differs from the last one (under output matching: a different colour table).
bool PreviewNeedsRender(const PreviewRenderState& state, const PreviewLook& look,
                        const ColorTable& table);

// The working copy's room: either layout of the image fits in it.
uint64_t PreviewWorkingBytes(uint32_t width, uint32_t height);
// A working copy of a 24-bit image: its bytes in a block of PreviewWorkingBytes. False (out
// untouched) without memory.
bool MakePreviewWorkingCopy(const PreviewBitmap& image, PreviewBitmap& out);

enum class PreviewRender : uint8_t {
    Unchanged,  // the working copy already shows the look
    Rendered,
    NoImage,  // no image, or a working copy that does not belong to it
};

// Renders image (24-bit) into working when PreviewNeedsRender. Output matching: the image
// through the colour table, at 24 bits. Otherwise the three tone tables from the record
// (colour: red, green and blue with colour balance; other modes: all three from the master
// channel), then the colour adjustment as a scan applies it (preview_adjust.h); at true
// colour the result stays 24-bit, else it is
// converted to 8 bits with the mode's palette (state.palette and the working copy's colour
// table). The gray modes and line art take their curve through the palette only, so their
// pixels are adjusted with straight tone tables.
PreviewRender RenderPreview(const PreviewBitmap& image, PreviewBitmap& working,
                            const PreviewLook& look, const ColorTable& table,
                            PreviewRenderState& state);
