#include "window/preview_index_wide.h"

#include "window/preview_dither.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KV_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi")))
#define KV_HAS_WIDE 1
#endif

#if KV_HAS_WIDE

namespace {

// Where lane i of a planar vector finds component c of pixel i in a 192-byte block: byte
// 3i + c, in the first two vectors below 128, else in the third.
struct Spread {
    alignas(64) uint8_t first[3][64];
    alignas(64) uint8_t last[3][64];
    uint64_t fromLast[3];
};

constexpr Spread MakeSpread() {
    Spread s{};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 64; ++i) {
            const int p = 3 * i + c;
            s.first[c][i] = uint8_t(p & 127);
            s.last[c][i] = uint8_t(p & 63);
            if (p >= 128) s.fromLast[c] |= uint64_t(1) << i;
        }
    return s;
}

constexpr Spread kSpread = MakeSpread();

// Per matrix row, lane i's threshold d = kBayer8[row][i mod 8] and the corrections the
// rounding makes to (v + d) / 32 and (v + d) / 64: r = ((v + d) & ~31) + 16 - d has
// r / 32 = (v + d) / 32 + floor((16 - d) / 32), and blue likewise with 64 and 32.
struct DitherRows {
    alignas(64) uint8_t d[8][64];
    alignas(64) int8_t fix5[8][64];
    alignas(64) int8_t fix6[8][64];
};

DitherRows MakeDitherRows() {
    DitherRows r{};
    for (int y = 0; y < 8; ++y)
        for (int i = 0; i < 64; ++i) {
            const int d = kBayer8[y][i & 7];
            r.d[y][i] = uint8_t(d);
            r.fix5[y][i] = int8_t(d <= 16 ? 0 : (d <= 48 ? -1 : -2));
            r.fix6[y][i] = int8_t(d <= 32 ? 0 : -1);
        }
    return r;
}

const DitherRows& Rows() {
    static const DitherRows rows = MakeDitherRows();
    return rows;
}

struct Planar {
    __m512i b, g, r;
};

KV_WIDE inline __m512i Component(const __m512i (&v)[3], int c) {
    const __m512i low = _mm512_permutex2var_epi8(
        v[0], _mm512_load_si512(kSpread.first[c]), v[1]);
    const __m512i high = _mm512_permutexvar_epi8(_mm512_load_si512(kSpread.last[c]), v[2]);
    return _mm512_mask_blend_epi8(kSpread.fromLast[c], low, high);
}

KV_WIDE inline Planar LoadPlanar(const uint8_t* bgr) {
    const __m512i v[3] = {_mm512_loadu_si512(bgr), _mm512_loadu_si512(bgr + 64),
                          _mm512_loadu_si512(bgr + 128)};
    return {Component(v, 0), Component(v, 1), Component(v, 2)};
}

// The level (v + d) >> bits plus the fix, clamped to 0..top, in 8-bit lanes: split as
// (v >> bits) + (((v & low) + d) >> bits) so no lane passes 255. The 16-bit shifts bring in
// bits of the neighbouring byte, which the masks clear.
template <int bits>
KV_WIDE inline __m512i Level(__m512i v, __m512i d, __m512i fix) {
    const __m512i low = _mm512_set1_epi8(char((1 << bits) - 1));
    const __m512i top = _mm512_set1_epi8(char((256 >> bits) - 1));
    const __m512i whole = _mm512_and_si512(_mm512_srli_epi16(v, bits), top);
    const __m512i carry = _mm512_and_si512(
        _mm512_srli_epi16(_mm512_add_epi8(_mm512_and_si512(v, low), d), bits), top);
    const __m512i level = _mm512_add_epi8(_mm512_add_epi8(whole, carry), fix);
    return _mm512_min_epi8(_mm512_max_epi8(level, _mm512_setzero_si512()), top);
}

// Half h of the 64 bytes as 16-bit lanes.
KV_WIDE inline __m512i Widen(__m512i v, int h) {
    return _mm512_cvtepu8_epi16(h ? _mm512_extracti64x4_epi64(v, 1) : _mm512_castsi512_si256(v));
}

}  // namespace

KV_WIDE size_t DitherPixelsWide(const uint8_t* bgr, size_t pixels, uint32_t y, uint8_t* out) {
    const DitherRows& rows = Rows();
    const __m512i d = _mm512_load_si512(rows.d[y & 7]);
    const __m512i fix5 = _mm512_load_si512(rows.fix5[y & 7]);
    const __m512i fix6 = _mm512_load_si512(rows.fix6[y & 7]);
    const size_t blocks = pixels / 64;
    for (size_t b = 0; b < blocks; ++b, bgr += 192, out += 64) {
        const Planar p = LoadPlanar(bgr);
        // Level values stay below 8, so the 16-bit shifts move nothing across bytes.
        const __m512i red = _mm512_slli_epi16(Level<5>(p.r, d, fix5), 5);
        const __m512i green = _mm512_slli_epi16(Level<5>(p.g, d, fix5), 2);
        const __m512i blue = Level<6>(p.b, d, fix6);
        _mm512_storeu_si512(out, _mm512_or_si512(_mm512_or_si512(red, green), blue));
    }
    return blocks * 64;
}

KV_WIDE size_t GrayPixelsWide(const uint8_t* bgr, size_t pixels, uint8_t* out) {
    // s / 3 for every sum s of three bytes (s <= 765) as the high half of s * 21846.
    const __m512i third = _mm512_set1_epi16(21846);
    const size_t blocks = pixels / 64;
    for (size_t b = 0; b < blocks; ++b, bgr += 192, out += 64) {
        const Planar p = LoadPlanar(bgr);
        __m256i half[2];
        for (int h = 0; h < 2; ++h) {
            const __m512i sum = _mm512_add_epi16(
                _mm512_add_epi16(Widen(p.b, h), Widen(p.g, h)), Widen(p.r, h));
            half[h] = _mm512_cvtepi16_epi8(_mm512_mulhi_epu16(sum, third));
        }
        _mm512_storeu_si512(
            out, _mm512_inserti64x4(_mm512_castsi256_si512(half[0]), half[1], 1));
    }
    return blocks * 64;
}

#else

size_t DitherPixelsWide(const uint8_t*, size_t, uint32_t, uint8_t*) { return 0; }
size_t GrayPixelsWide(const uint8_t*, size_t, uint8_t*) { return 0; }

#endif
