#include "window/preview_render.h"

#include <algorithm>
#include <cstring>

#include "window/preview_adjust.h"
#include "window/preview_dither.h"

namespace {

// Pixels adjusted at a time before they become indexes: a row's worth on the stack.
constexpr uint32_t kChunkPixels = 512;

bool SameChannel(const ChannelAdjust& a, const ChannelAdjust& b) {
    return a.highlight == b.highlight && a.shadow == b.shadow && a.gamma == b.gamma;
}

bool WorkingFits(const PreviewBitmap& image, const PreviewBitmap& working) {
    return !image.Empty() && !working.Empty() && image.bitCount == 24 &&
           working.width == image.width && working.height == image.height &&
           plat::MemSize(working.block) >= PreviewWorkingBytes(image.width, image.height);
}

// Colour: each colour channel's curve, bent by its colour balance. Other modes: the master
// curve in all three. A curve that cannot be built keeps its previous table.
void BuildPreviewTones(const PreviewLook& look, ToneTables& tones) {
    const EnhancementRecord& r = look.record;
    const ToneContext context{look.scanMode,
                              {r.ColorBalance[0], r.ColorBalance[1], r.ColorBalance[2]}};
    if (look.scanMode == kModeColor) {
        BuildToneTable(r.channel[kRed], 256, 256, tones.red, 0, true, context);
        BuildToneTable(r.channel[kGreen], 256, 256, tones.green, 1, true, context);
        BuildToneTable(r.channel[kBlue], 256, 256, tones.blue, 2, true, context);
        return;
    }
    for (uint8_t* t : {tones.blue, tones.green, tones.red})
        BuildToneTable(r.channel[kMaster], 256, 256, t, 3, false, context);
}

void MatchRows(const LockedBitmap& src, const LockedBitmap& dst, uint32_t width, uint32_t height,
               const ColorTable& table) {
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(dst.row(y), src.row(y), size_t(width) * 3);
        ApplyColorTable(table, 1, width, dst.row(y), dst.stride(), true);
    }
}

void AdjustRows(const LockedBitmap& src, const LockedBitmap& dst, uint32_t width,
                uint32_t height, const ColorAdjustPlan& plan) {
    for (uint32_t y = 0; y < height; ++y) RunColorAdjust(plan, width, dst.row(y), src.row(y));
}

// Each row a stack-sized piece at a time: adjusted, then turned into indexes.
void IndexRows(const LockedBitmap& src, const LockedBitmap& dst, uint32_t width,
               uint32_t height, const ColorAdjustPlan& plan, bool dither) {
    uint8_t piece[kChunkPixels * 3];
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* out = dst.row(y);
        for (uint32_t x = 0; x < width; x += kChunkPixels) {
            const uint32_t n = std::min(kChunkPixels, width - x);
            RunColorAdjust(plan, n, piece, src.row(y) + size_t(x) * 3);
            if (dither) DitherRowToIndexes(piece, n, x, y, out + x);
            else GrayRowToIndexes(piece, n, out + x);
        }
        std::memset(out + width, 0, dst.stride() - width);
    }
}

void Render(const LockedBitmap& src, const LockedBitmap& dst, const PreviewBitmap& working,
            const PreviewLook& look, const ColorTable& table, PreviewRenderState& state) {
    const uint32_t w = working.width, h = working.height;
    WritePreviewInfoHeader(dst.header(), w, h, working.bitCount);
    if (look.outputMatch) {
        MatchRows(src, dst, w, h, table);
        return;
    }
    BuildPreviewTones(look, state.tones);
    // A single-channel preview shows its curve through the palette; toning the pixels as
    // well would bend them twice.
    static constexpr ToneTables kStraight = IdentityTones();
    const bool colour = look.scanMode == kModeColor;
    PreparePreviewAdjust(look.record, look.scanMode, colour ? state.tones : kStraight,
                         state.plan);
    if (working.bitCount == 24) {
        AdjustRows(src, dst, w, h, state.plan);
        return;
    }
    BuildPreviewPalette(look.scanMode, state.tones, state.palette);
    WriteColourTable(state.palette, dst.colourTable());
    IndexRows(src, dst, w, h, state.plan, colour);
}

}  // namespace

bool EnhancementLooksDifferent(const EnhancementRecord& a, const EnhancementRecord& b) {
    for (int c = 0; c < 4; ++c)
        if (!SameChannel(a.channel[c], b.channel[c])) return true;
    return std::memcmp(a.PixelRGB, b.PixelRGB, sizeof a.PixelRGB) != 0 || a.Hue != b.Hue ||
           a.CirclePos[0] != b.CirclePos[0] || a.CirclePos[1] != b.CirclePos[1] ||
           a.Saturation != b.Saturation ||
           std::memcmp(a.ColorBalance, b.ColorBalance, sizeof a.ColorBalance) != 0;
}

bool PreviewNeedsRender(const PreviewRenderState& state, const PreviewLook& look,
                        const ColorTable& table) {
    if (!state.rendered || state.forced || state.modeChanged || state.newImage) return true;
    const PreviewLook& last = state.last;
    if (look.outputMatch != last.outputMatch || look.scanMode != last.scanMode ||
        look.trueColour != last.trueColour)
        return true;
    if (look.outputMatch) return table.block != state.lastTable;
    return EnhancementLooksDifferent(look.record, last.record);
}

uint64_t PreviewWorkingBytes(uint32_t width, uint32_t height) {
    return std::max(PreviewLayoutBytes(24, width, height), PreviewLayoutBytes(8, width, height));
}

bool MakePreviewWorkingCopy(const PreviewBitmap& image, PreviewBitmap& out) {
    const uint32_t w = image.width, h = image.height;
    PreviewBitmap copy;
    if (image.bitCount != 24 || !AllocatePreviewBitmap(w, h, 24, PreviewWorkingBytes(w, h), copy))
        return false;
    bool copied = false;
    {
        LockedBitmap src(image), dst(copy);
        if (src.ok() && dst.ok()) {
            std::memcpy(dst.header(), src.header(), size_t(PreviewLayoutBytes(24, w, h)));
            copied = true;
        }
    }
    if (!copied) {
        FreePreviewBitmap(copy);
        return false;
    }
    out = copy;
    return true;
}

PreviewRender RenderPreview(const PreviewBitmap& image, PreviewBitmap& working,
                            const PreviewLook& look, const ColorTable& table,
                            PreviewRenderState& state) {
    if (!WorkingFits(image, working)) return PreviewRender::NoImage;
    if (!PreviewNeedsRender(state, look, table)) return PreviewRender::Unchanged;
    const bool indexed = !look.outputMatch && !(look.trueColour && look.scanMode == kModeColor);
    PreviewBitmap target = working;
    target.bitCount = indexed ? 8 : 24;
    {
        LockedBitmap src(image), dst(target);
        if (!src.ok() || !dst.ok()) return PreviewRender::NoImage;
        state.rendered = false;
        Render(src, dst, target, look, table, state);
    }
    working = target;
    state.last = look;
    state.lastTable = table.block;
    state.forced = state.modeChanged = state.newImage = false;
    state.rendered = true;
    ++state.renders;
    return PreviewRender::Rendered;
}
