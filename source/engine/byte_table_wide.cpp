#include "engine/byte_table_wide.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KV_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi")))
#define KV_HAS_WIDE 1
#endif

#if KV_HAS_WIDE

bool HasWideByteTables() {
    static const bool has = __builtin_cpu_supports("avx512f") &&
                            __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi");
    return has;
}

namespace {

// Byte i of the j-th 64-byte vector of a 192-byte block is component (i + j) mod 3 of its
// pixel, since 64 leaves 1 over 3.
constexpr uint64_t ComponentMask(int j, int component) {
    uint64_t m = 0;
    for (int i = 0; i < 64; ++i)
        if ((i + j) % 3 == component) m |= uint64_t(1) << i;
    return m;
}

constexpr uint64_t kMasks[3][3] = {
    {ComponentMask(0, 0), ComponentMask(0, 1), ComponentMask(0, 2)},
    {ComponentMask(1, 0), ComponentMask(1, 1), ComponentMask(1, 2)},
    {ComponentMask(2, 0), ComponentMask(2, 1), ComponentMask(2, 2)},
};

struct Table256 {
    __m512i q[4];
};

KV_WIDE inline Table256 LoadTable(const uint8_t* t) {
    Table256 r;
    for (int k = 0; k < 4; ++k) r.q[k] = _mm512_loadu_si512(t + 64 * k);
    return r;
}

// 256 entries: two 128-entry permutes on the low seven bits, the top bit picks between them.
KV_WIDE inline __m512i Lookup(const Table256& t, __m512i v) {
    const __m512i lo = _mm512_permutex2var_epi8(t.q[0], v, t.q[1]);
    const __m512i hi = _mm512_permutex2var_epi8(t.q[2], v, t.q[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), lo, hi);
}

// Vector j of a block: its component-k bytes come from in[k] through t[k].
KV_WIDE inline __m512i LookupVector(const Table256 (&t)[3], __m512i in0, __m512i in1,
                                    __m512i in2, int j) {
    __m512i r = Lookup(t[0], in0);
    r = _mm512_mask_blend_epi8(kMasks[j][1], r, Lookup(t[1], in1));
    return _mm512_mask_blend_epi8(kMasks[j][2], r, Lookup(t[2], in2));
}

KV_WIDE inline __m512i Indexes(int first) {
    alignas(64) uint8_t idx[64];
    for (int i = 0; i < 64; ++i) idx[i] = uint8_t(first + i);
    return _mm512_load_si512(idx);
}

}  // namespace

KV_WIDE size_t LookupPixelsWide(const uint8_t* const (&tables)[3], bool swap, size_t pixels,
                                uint8_t* dst, const uint8_t* src) {
    // Swapped, output byte 0 is the third table's value of input byte 2 (two bytes ahead)
    // and output byte 2 the first table's value of input byte 0 (two behind).
    const Table256 t[3] = {LoadTable(tables[swap ? 2 : 0]), LoadTable(tables[1]),
                           LoadTable(tables[swap ? 0 : 2])};
    const __m512i ahead = Indexes(2), behind = Indexes(62);
    const size_t blocks = pixels / 64;
    for (size_t b = 0; b < blocks; ++b, src += 192, dst += 192) {
        // All three vectors are read before any is written, so in place is safe.
        const __m512i v0 = _mm512_loadu_si512(src);
        const __m512i v1 = _mm512_loadu_si512(src + 64);
        const __m512i v2 = _mm512_loadu_si512(src + 128);
        if (!swap) {
            _mm512_storeu_si512(dst, LookupVector(t, v0, v0, v0, 0));
            _mm512_storeu_si512(dst + 64, LookupVector(t, v1, v1, v1, 1));
            _mm512_storeu_si512(dst + 128, LookupVector(t, v2, v2, v2, 2));
            continue;
        }
        // The bytes two ahead of and two behind each vector, from its neighbours within the
        // block; the lanes that would reach outside it are of components that do not use them.
        const __m512i a0 = _mm512_permutex2var_epi8(v0, ahead, v1);
        const __m512i a1 = _mm512_permutex2var_epi8(v1, ahead, v2);
        const __m512i a2 = _mm512_permutex2var_epi8(v2, ahead, v2);
        const __m512i b0 = _mm512_permutex2var_epi8(v0, behind, v0);
        const __m512i b1 = _mm512_permutex2var_epi8(v0, behind, v1);
        const __m512i b2 = _mm512_permutex2var_epi8(v1, behind, v2);
        _mm512_storeu_si512(dst, LookupVector(t, a0, v0, b0, 0));
        _mm512_storeu_si512(dst + 64, LookupVector(t, a1, v1, b1, 1));
        _mm512_storeu_si512(dst + 128, LookupVector(t, a2, v2, b2, 2));
    }
    return blocks * 64;
}

#else

bool HasWideByteTables() { return false; }

size_t LookupPixelsWide(const uint8_t* const (&)[3], bool, size_t, uint8_t*, const uint8_t*) {
    return 0;
}

#endif
