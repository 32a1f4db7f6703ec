#include "red_blue_swap.h"

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

inline void SwapVector(const uint8_t* src, uint8_t* dst, const PhaseMasks& m) {
    const __m128i out = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(Load(src + 2), m.ahead), _mm_and_si128(Load(src), m.same)),
        _mm_and_si128(Load(src - 2), m.behind));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
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
    // The loads reach two bytes either side of each 48-byte group (16 pixels): the first
    // pixel goes alone so that nothing is read before src, and a group runs only while a
    // whole pixel follows it, so nothing is read past the last pixel either.
    if (pixels == 0) return;
    static const PhaseMasks kPhase[3] = {MasksForPhase(0), MasksForPhase(1), MasksForPhase(2)};
    SwapRedBluePlain(src, dst, 1);
    uint32_t done = 1;
    for (; pixels - done > 16; done += 16) {
        const uint8_t* s = src + uint64_t(done) * 3;
        uint8_t* d = dst + uint64_t(done) * 3;
        SwapVector(s, d, kPhase[0]);
        SwapVector(s + 16, d + 16, kPhase[1]);
        SwapVector(s + 32, d + 32, kPhase[2]);
    }
    SwapRedBluePlain(src + uint64_t(done) * 3, dst + uint64_t(done) * 3, pixels - done);
#else
    SwapRedBlueSse2(src, dst, pixels);
#endif
}

void SwapRedBlue(const uint8_t* src, uint8_t* dst, uint32_t pixels) {
    SwapRedBlueSse2(src, dst, pixels);
}
