#include "common/red_blue_swap.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// A 16-byte vector that starts `phase` bytes into a pixel (0, 1 or 2) takes each byte from
// the source byte two ahead (its red slot takes the pixel's blue), the same byte (green) or
// two behind (blue slot takes red). Masks pick, per phase, the bytes each of those three
// loads supplies.
struct PhaseMasks {
    __m128i ahead, same, behind;
};

PhaseMasks MasksForPhase(int phase) {
    alignas(16) uint8_t ahead[16], same[16], behind[16];
    for (int i = 0; i < 16; ++i) {
        const int slot = (phase + i) % 3;
        ahead[i] = slot == 0 ? 0xFF : 0;
        same[i] = slot == 1 ? 0xFF : 0;
        behind[i] = slot == 2 ? 0xFF : 0;
    }
    return {_mm_load_si128(reinterpret_cast<const __m128i*>(ahead)),
            _mm_load_si128(reinterpret_cast<const __m128i*>(same)),
            _mm_load_si128(reinterpret_cast<const __m128i*>(behind))};
}

inline __m128i Load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline __m128i Pick(__m128i ahead, __m128i same, __m128i behind, const PhaseMasks& m) {
    return _mm_or_si128(_mm_or_si128(_mm_and_si128(ahead, m.ahead), _mm_and_si128(same, m.same)),
                        _mm_and_si128(behind, m.behind));
}

inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The 16 bytes at offset q, which has two bytes on either side.
inline void SwapVector(const uint8_t* src, uint8_t* dst, uint64_t q, const PhaseMasks& m) {
    Store(dst + q, Pick(Load(src + q + 2), Load(src + q), Load(src + q - 2), m));
}

// The first 16 bytes start a pixel: no byte before them is needed, the "two behind" bytes
// are the vector itself shifted.
inline void SwapFirstVector(const uint8_t* src, uint8_t* dst, const PhaseMasks& m) {
    const __m128i v = Load(src);
    Store(dst, Pick(Load(src + 2), v, _mm_slli_si128(v, 2), m));
}

// The last 16 bytes end a pixel: no byte after them is needed, the "two ahead" bytes are the
// vector itself shifted. They overlap bytes already stored, with the same values.
inline void SwapLastVector(const uint8_t* src, uint8_t* dst, uint64_t q, const PhaseMasks& m) {
    const __m128i v = Load(src + q);
    Store(dst + q, Pick(_mm_srli_si128(v, 2), v, Load(src + q - 2), m));
}

// Sixteen pixels: the neighbours two bytes ahead and behind each vector come from shifting
// the group's own three vectors, so nothing outside the 48 bytes is read. A byte lane whose
// neighbour would lie outside the group is never picked for that neighbour.
inline void SwapGroupInPlace(uint8_t* p, const PhaseMasks (&m)[3]) {
    const __m128i a = Load(p), b = Load(p + 16), c = Load(p + 32);
    const __m128i aheadA = _mm_or_si128(_mm_srli_si128(a, 2), _mm_slli_si128(b, 14));
    const __m128i aheadB = _mm_or_si128(_mm_srli_si128(b, 2), _mm_slli_si128(c, 14));
    const __m128i behindB = _mm_or_si128(_mm_slli_si128(b, 2), _mm_srli_si128(a, 14));
    const __m128i behindC = _mm_or_si128(_mm_slli_si128(c, 2), _mm_srli_si128(b, 14));
    Store(p, Pick(aheadA, a, _mm_slli_si128(a, 2), m[0]));
    Store(p + 16, Pick(aheadB, b, behindB, m[1]));
    Store(p + 32, Pick(_mm_srli_si128(c, 2), c, behindC, m[2]));
}
#endif

}  // namespace

void SwapRedBluePlain(const uint8_t* src, uint8_t* dst, uint32_t pixels) {
    for (uint32_t i = 0; i < pixels; ++i, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

void SwapRedBlueSse2(const uint8_t* src, uint8_t* dst, uint32_t pixels) {
#if defined(__SSE2__)
    // Rows of at least six pixels (18 bytes) go entirely through vectors: the first and the
    // last 16 bytes by themselves, every vector between them with its two neighbouring bytes
    // inside the row. A vector at offset q starts q % 3 bytes into a pixel.
    static const PhaseMasks kPhase[3] = {MasksForPhase(0), MasksForPhase(1), MasksForPhase(2)};
    const uint64_t bytes = uint64_t(pixels) * 3;
    if (bytes < 18) return SwapRedBluePlain(src, dst, pixels);
    SwapFirstVector(src, dst, kPhase[0]);
    uint64_t q = 16;
    // Copies in registers: every store through dst could alias the table for the compiler.
    const PhaseMasks phase0 = kPhase[0], phase1 = kPhase[1], phase2 = kPhase[2];
    for (; q + 48 + 2 <= bytes; q += 48) {
        SwapVector(src, dst, q, phase1);
        SwapVector(src, dst, q + 16, phase2);
        SwapVector(src, dst, q + 32, phase0);
    }
    for (; q + 16 + 2 <= bytes; q += 16) SwapVector(src, dst, q, kPhase[q % 3]);
    // A single byte can remain between those and the last vector; one more vector, ending
    // two bytes short of the row, covers it.
    if (q + 16 < bytes) SwapVector(src, dst, bytes - 18, kPhase[(bytes - 18) % 3]);
    SwapLastVector(src, dst, bytes - 16, kPhase[(bytes - 16) % 3]);
#else
    SwapRedBluePlain(src, dst, pixels);
#endif
}

void SwapRedBlue(const uint8_t* src, uint8_t* dst, uint32_t pixels) {
    SwapRedBlueSse2(src, dst, pixels);
}

void SwapRedBlueInPlace(uint8_t* pixels3, size_t pixels) {
    size_t done = 0;
#if defined(__SSE2__)
    static const PhaseMasks kPhase[3] = {MasksForPhase(0), MasksForPhase(1), MasksForPhase(2)};
    const PhaseMasks phases[3] = {kPhase[0], kPhase[1], kPhase[2]};
    for (; done + 16 <= pixels; done += 16) SwapGroupInPlace(pixels3 + done * 3, phases);
#endif
    for (uint8_t* p = pixels3 + done * 3; done < pixels; ++done, p += 3) {
        const uint8_t red = p[0];
        p[0] = p[2];
        p[2] = red;
    }
}
