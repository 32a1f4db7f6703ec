// The output-matching loops, kept apart so that they alone are built for speed.
#include "engine/color_table.h"
#include "engine/lattice_interpolation.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The three outputs of the small layout before their curves, packed a byte each.
inline uint32_t SmallMatrix(const int32_t* products, uint32_t c0, uint32_t c1, uint32_t c2) {
    const int32_t* a = products + c0 * 4;
    const int32_t* b = products + (256 + c1) * 4;
    const int32_t* c = products + (512 + c2) * 4;
#if defined(__SSE2__)
    auto lanes = [](const int32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    __m128i sum = _mm_add_epi32(_mm_add_epi32(lanes(a), lanes(b)), lanes(c));
    // A negative sum stays negative through the shift and packs to 0; a large one packs to
    // 255: exactly "below 0 is 0, then >> 6, at most 255".
    sum = _mm_srai_epi32(sum, 6);
    sum = _mm_packs_epi32(sum, sum);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
#else
    uint32_t out = 0;
    for (uint32_t k = 0; k < 3; ++k) {
        const int32_t sum = a[k] + b[k] + c[k];
        const int32_t v = sum < 0 ? 0 : sum >> 6;
        out |= uint32_t(v > 255 ? 255 : v) << (8 * k);
    }
    return out;
#endif
}

void ApplySmall(const ColorTable& t, uint8_t* row, uint32_t pixels, uint32_t first, uint32_t third) {
    const uint8_t* curves = t.curves;
    for (uint32_t i = 0; i < pixels; ++i, row += 3) {
        const uint32_t v = SmallMatrix(t.products, row[first], row[1], row[third]);
        row[first] = curves[v & 255];
        row[1] = curves[256 + ((v >> 8) & 255)];
        row[third] = curves[512 + ((v >> 16) & 255)];
    }
}

void ApplyLarge(const ColorTable& t, uint8_t* row, uint32_t pixels, uint32_t first, uint32_t third) {
    const uint8_t* curves = t.curves;
    for (uint32_t i = 0; i < pixels; ++i, row += 3) {
        const uint32_t v = InterpolateLattice(t.pairs, curves[row[first]], curves[256 + row[1]],
                                              curves[512 + row[third]]);
        row[first] = uint8_t(v);
        row[1] = uint8_t(v >> 8);
        row[third] = uint8_t(v >> 16);
    }
}

}  // namespace

void ApplyColorTable(const ColorTable& table, uint32_t lines, uint32_t pixelsPerLine,
                     uint8_t* pixels, uint32_t rowStride, bool bitmapOrder) {
    if (table.layout == ColorTableLayout::None || !pixels) return;
    if (uint64_t(rowStride) < uint64_t(pixelsPerLine) * 3 && lines > 1) return;
    const uint32_t first = bitmapOrder ? 2 : 0, third = bitmapOrder ? 0 : 2;
    for (uint32_t line = 0; line < lines; ++line) {
        uint8_t* row = pixels + uint64_t(line) * rowStride;
        if (table.layout == ColorTableLayout::Small)
            ApplySmall(table, row, pixelsPerLine, first, third);
        else
            ApplyLarge(table, row, pixelsPerLine, first, third);
    }
}
