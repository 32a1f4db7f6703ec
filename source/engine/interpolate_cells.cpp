#include "engine/interpolate_cells.h"

#include "engine/byte_average.h"

void InterpolateGrayPair2(const uint8_t* p, const uint8_t* d, uint32_t n, uint8_t* top,
                          uint8_t* bottom) {
    uint32_t x = 0;
#if defined(__SSE2__)
    for (; x + 17 <= n; x += 16) {
        const __m128i a = Load16(p + x);
        const __m128i right = FloorAverage16(a, Load16(p + x + 1));
        const __m128i below = FloorAverage16(a, Load16(d + x));
        const __m128i diagonal = FloorAverage16(a, Load16(d + x + 1));
        Store16(top + 2 * x, _mm_unpacklo_epi8(a, right));
        Store16(top + 2 * x + 16, _mm_unpackhi_epi8(a, right));
        Store16(bottom + 2 * x, _mm_unpacklo_epi8(below, diagonal));
        Store16(bottom + 2 * x + 16, _mm_unpackhi_epi8(below, diagonal));
    }
#endif
    for (; x + 1 < n; ++x) {
        top[2 * x] = p[x];
        top[2 * x + 1] = FloorAverage(p[x], p[x + 1]);
        bottom[2 * x] = FloorAverage(p[x], d[x]);
        bottom[2 * x + 1] = FloorAverage(p[x], d[x + 1]);
    }
    top[2 * x] = top[2 * x + 1] = bottom[2 * x] = bottom[2 * x + 1] = p[x];
}

// Eight-byte words of which three bytes count, each store's surplus overwritten by the next.
void InterpolateColourPair2(const uint8_t* p, const uint8_t* d, uint32_t n, uint8_t* top,
                            uint8_t* bottom) {
    uint32_t x = 0;
    for (; x + 4 <= n; ++x) {
        const uint64_t a = Load8(p + 3 * x);
        Store8(top + 6 * x, a);
        Store8(top + 6 * x + 3, FloorAverage8(a, Load8(p + 3 * x + 3)));
        Store8(bottom + 6 * x, FloorAverage8(a, Load8(d + 3 * x)));
        Store8(bottom + 6 * x + 3, FloorAverage8(a, Load8(d + 3 * x + 3)));
    }
    for (; x < n; ++x) {
        const bool last = x + 1 == n;
        for (uint32_t c = 0; c < 3; ++c) {
            const uint8_t v = p[3 * x + c];
            top[6 * x + c] = v;
            top[6 * x + 3 + c] = last ? v : FloorAverage(v, p[3 * x + 3 + c]);
            bottom[6 * x + c] = last ? v : FloorAverage(v, d[3 * x + c]);
            bottom[6 * x + 3 + c] = last ? v : FloorAverage(v, d[3 * x + 3 + c]);
        }
    }
}

void SplitPair(int a, int b, uint32_t factor, int* out) {
    const int m = (a + b) >> 1;
    switch (factor) {
        case 4:
            out[0] = a, out[1] = (a + m) >> 1, out[2] = m, out[3] = (m + b) >> 1;
            return;
        case 6:
            out[0] = a, out[1] = a + (m - a) / 3, out[2] = a + 2 * (m - a) / 3;
            out[3] = m, out[4] = m + (b - m) / 3, out[5] = m + 2 * (b - m) / 3;
            return;
        case 8: {
            const int l = (a + m) >> 1, r = (m + b) >> 1;
            out[0] = a, out[1] = (a + l) >> 1, out[2] = l, out[3] = (l + m) >> 1;
            out[4] = m, out[5] = (m + r) >> 1, out[6] = r, out[7] = (r + b) >> 1;
            return;
        }
        default:
            out[0] = a, out[1] = m;
            return;
    }
}

void InterpolatePairSplit(const uint8_t* p, const uint8_t* d, uint32_t n, uint32_t step,
                          uint32_t factor, uint8_t* const* rows) {
    int top[8], bottom[8], column[8];
    for (uint32_t x = 0; x < n; ++x) {
        const bool last = x + 1 == n;
        for (uint32_t c = 0; c < step; ++c) {
            const uint32_t at = x * step + c;
            const int v = p[at];
            if (last) {
                for (uint32_t u = 0; u < factor; ++u)
                    for (uint32_t r = 0; r < factor; ++r) rows[r][(x * factor + u) * step + c] = uint8_t(v);
                continue;
            }
            SplitPair(v, p[at + step], factor, top);
            SplitPair(d[at], d[at + step], factor, bottom);
            for (uint32_t u = 0; u < factor; ++u) {
                SplitPair(top[u], bottom[u], factor, column);
                for (uint32_t r = 0; r < factor; ++r)
                    rows[r][(x * factor + u) * step + c] = uint8_t(column[r]);
            }
        }
    }
}
