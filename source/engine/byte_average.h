// The truncating mean of two bytes, (a + b) >> 1, on one byte, on eight bytes in a 64-bit
// word, and on sixteen bytes in an SSE2 register. SSE2's own average rounds up, so the odd
// sums get their carried half taken back.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline uint8_t FloorAverage(uint8_t a, uint8_t b) { return uint8_t((a + b) >> 1); }

// Each byte of the result is the truncating mean of the same bytes of a and b; no carry
// crosses a byte because the halves are taken before they are added.
inline uint64_t FloorAverage8(uint64_t a, uint64_t b) {
    return (a & b) + (((a ^ b) & 0xFEFEFEFEFEFEFEFEull) >> 1);
}

inline uint64_t Load8(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline void Store8(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

#if defined(__SSE2__)
inline __m128i FloorAverage16(__m128i a, __m128i b) {
    const __m128i odd = _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1));
    return _mm_sub_epi8(_mm_avg_epu8(a, b), odd);
}
inline __m128i Load16(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store16(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
#endif
