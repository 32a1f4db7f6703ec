#include "simulator/device/line_kernel.h"

#include "common/request_blocks.h"

namespace {

// With every gain exactly 1.0 (a correct calibration of the default sensor) the product is
// the value itself; the loops are instantiated for that case so it costs no multiply.
template <bool Unity>
inline uint32_t Shade(uint32_t value, uint32_t gain) {
    if constexpr (Unity) return value > 4095u ? 4095u : value;
    const uint32_t s = (value * gain + 0x8000u) >> 16;
    return s > 4095u ? 4095u : s;
}

template <bool U>
void Colour(const Rgb12* in, uint32_t n, const KernelTables& t, uint8_t* out) {
    const uint32_t *gr = t.gain[0], *gg = t.gain[1], *gb = t.gain[2];
    const uint8_t *lr = t.lut[0], *lg = t.lut[1], *lb = t.lut[2];
    for (uint32_t j = 0; j < n; ++j) {
        out[3 * j] = lr[Shade<U>(in[j].r, gr[j])];
        out[3 * j + 1] = lg[Shade<U>(in[j].g, gg[j])];
        out[3 * j + 2] = lb[Shade<U>(in[j].b, gb[j])];
    }
}

template <bool U>
void Colour36(const Rgb12* in, uint32_t n, const KernelTables& t, uint8_t* out) {
    const uint32_t *gr = t.gain[0], *gg = t.gain[1], *gb = t.gain[2];
    for (uint32_t j = 0; j < n; ++j) {
        const uint32_t r = Shade<U>(in[j].r, gr[j]), g = Shade<U>(in[j].g, gg[j]),
                       b = Shade<U>(in[j].b, gb[j]);
        uint8_t* p = out + 6 * j;
        p[0] = uint8_t(r), p[1] = uint8_t(r >> 8);
        p[2] = uint8_t(g), p[3] = uint8_t(g >> 8);
        p[4] = uint8_t(b), p[5] = uint8_t(b >> 8);
    }
}

// Gray from the three shaded channels with luminance weights.
template <bool U>
void Gray(const Rgb12* in, uint32_t n, const KernelTables& t, uint8_t* out) {
    const uint32_t *gr = t.gain[0], *gg = t.gain[1], *gb = t.gain[2];
    const uint8_t* lut = t.lut[0];
    for (uint32_t j = 0; j < n; ++j) {
        const uint32_t y = (77 * Shade<U>(in[j].r, gr[j]) + 151 * Shade<U>(in[j].g, gg[j]) +
                            28 * Shade<U>(in[j].b, gb[j]) + 128) >> 8;
        out[j] = lut[y];
    }
}

// The single-channel modes read the green sensor row only.
template <bool U>
void FastGray(const Rgb12* in, uint32_t n, const KernelTables& t, uint8_t* out) {
    const uint32_t* g = t.gain[0];
    const uint8_t* lut = t.lut[0];
    for (uint32_t j = 0; j < n; ++j) out[j] = lut[Shade<U>(in[j].g, g[j])];
}

template <bool U>
void LineArt(const Rgb12* in, uint32_t n, const KernelTables& t, uint8_t* out) {
    const uint32_t* g = t.gain[0];
    const uint8_t* lut = t.lut[0];
    for (uint32_t byte = 0; byte < n / 8; ++byte) {
        uint32_t bits = 0;
        for (uint32_t k = 0; k < 8; ++k) {
            const uint32_t j = byte * 8 + k;
            bits = (bits << 1) | (lut[Shade<U>(in[j].g, g[j])] > t.threshold ? 1u : 0u);
        }
        out[byte] = uint8_t(bits);
    }
}

template <bool U>
void ShadeLineAs(uint8_t colourType, const Rgb12* in, uint32_t pixels, const KernelTables& t,
                 uint8_t* out) {
    switch (colourType) {
        case kColourTypeColour: return Colour<U>(in, pixels, t, out);
        case kColourTypeColour36: return Colour36<U>(in, pixels, t, out);
        case kColourTypeGray: return Gray<U>(in, pixels, t, out);
        case kColourTypeFastGray: return FastGray<U>(in, pixels, t, out);
        case kColourTypeLineArt: return LineArt<U>(in, pixels, t, out);
        default: return;
    }
}

}  // namespace

void ShadeLine(uint8_t colourType, const Rgb12* in, uint32_t pixels, const KernelTables& t,
               uint8_t* out) {
    if (t.unityGain) return ShadeLineAs<true>(colourType, in, pixels, t, out);
    ShadeLineAs<false>(colourType, in, pixels, t, out);
}
