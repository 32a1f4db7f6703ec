#include "engine/tone_curve.h"

#include <cmath>

namespace {

constexpr int kMaxLength = 1024;

// Gamma in tenths: 10 is a straight line. The curve between lo and hi is bent through the
// power 10 / g while its two ends stay where they are.
void BendCurve(int* t, int lo, int hi, int gamma) {
    if (gamma == 10 || hi - lo < 2) return;
    const double exponent = 10.0 / gamma;
    const double span = double(t[hi] - t[lo]);
    for (int i = lo + 1; i < hi; ++i) {
        const double x = double(i - lo) / double(hi - lo);
        t[i] = int(std::trunc(std::pow(x, exponent) * span + t[lo]));
    }
}

int ToneGamma(ChannelAdjust channel, int channelIndex, bool useColorBalance,
              const ToneContext& context) {
    const int stored = int8_t(channel.gamma);
    int g = stored;
    if (context.scanMode == kModeLineArt) {
        g = 10;
    } else if (context.scanMode == kModeColor && useColorBalance && channelIndex >= 0 &&
               channelIndex <= 2) {
        g = (context.colorBalance[channelIndex] * 2) / 10 + stored;
    }
    return g < 1 ? 1 : (g > 79 ? 79 : g);
}

void StoreCurve(const int* t, int length, uint8_t* dest) {
    for (int i = 0; i < length; ++i) dest[i] = uint8_t(t[i]);
}

// Straight contrast ramp before brightness: lo and hi bound the part gamma may bend.
void ContrastRamp(int contrast, int last, int top, int* t, int& lo, int& hi) {
    if (contrast >= 0) {
        const double d = contrast * last / 255.0;
        lo = int(d);
        hi = last - int(d);
        for (int i = 0; i <= last; ++i) {
            if (i <= lo) t[i] = 0;
            else if (i >= hi) t[i] = top;
            else t[i] = int((i - d) * top / (last - 2 * d));
        }
        return;
    }
    const double d = contrast * top / -255.0;
    lo = 0;
    hi = last;
    for (int i = 0; i <= last; ++i)
        t[i] = contrast == -128 ? int(d) : int(d + (top - 2 * d) * i / last);
}

// Brightness shifts every entry; the clipped ends leave the range gamma may bend.
void ShiftBrightness(int brightness, int last, int top, int* t, int& lo, int& hi) {
    const int shift = (brightness * top) / 255;
    bool clippedHigh = false;
    for (int i = 0; i <= last; ++i) {
        t[i] += shift;
        if (t[i] < 0) {
            t[i] = 0;
            lo = i + 1;
        } else if (t[i] > top) {
            t[i] = top;
            if (!clippedHigh) hi = i - 1;
            clippedHigh = true;
        }
    }
}

}  // namespace

int BuildToneTable(ChannelAdjust channel, int length, int levels, uint8_t* dest,
                   int channelIndex, bool useColorBalance, const ToneContext& context) {
    const int shadow = channel.shadow, highlight = channel.highlight;
    if (highlight <= shadow || length < 1 || length > kMaxLength || levels < 1 || levels > 256)
        return 0;
    const int last = length - 1, top = levels - 1;
    const int lo = int(shadow * last / 255.0);
    const int hi = int(highlight * last / 255.0);
    int t[kMaxLength];
    for (int i = 0; i <= last; ++i) {
        if (i <= lo) t[i] = 0;
        else if (i < hi) t[i] = (i - lo) * top / (hi - lo);
        else t[i] = top;
    }
    BendCurve(t, lo, hi, ToneGamma(channel, channelIndex, useColorBalance, context));
    StoreCurve(t, length, dest);
    return 1;
}

int BuildBrightnessContrastTable(ChannelAdjust channel, int length, int levels, uint8_t* dest) {
    const int last = length - 1, top = levels - 1;
    const int gamma = int8_t(channel.gamma);
    if (last < 20 || last > 1023 || top < 20 || top > 255 || gamma < 1 || gamma > 79) return 0;
    int t[kMaxLength];
    int lo = 0, hi = last;
    ContrastRamp(int8_t(channel.shadow), last, top, t, lo, hi);
    ShiftBrightness(int8_t(channel.highlight), last, top, t, lo, hi);
    if (lo >= 0 && hi <= last && lo < hi) BendCurve(t, lo, hi, gamma);
    StoreCurve(t, length, dest);
    return 1;
}

void ApplyToneTables(uint8_t* pixels, const ToneTables& tables, size_t pixelCount) {
    for (size_t p = 0; p < pixelCount; ++p, pixels += 3) {
        pixels[0] = tables.blue[pixels[0]];
        pixels[1] = tables.green[pixels[1]];
        pixels[2] = tables.red[pixels[2]];
    }
}
