// Trilinear interpolation in a 17 x 17 x 17 lattice with 4-bit fractions, shared by the CMYK
// output and the large colour table. Inputs u0, u1, u2 pick the cell (u >> 4) and the
// fractions (u & 15); each corner (i, j, k) weighs (i ? f0 : 16 - f0) x (j ? f1 : 16 - f1) x
// (k ? f2 : 16 - f2) and every output byte is the weighted sum of the eight corners >> 12.
//
// Table files hold the lattice as entries of 3 or 4 bytes, first axis slowest. In memory it
// is laid out in pairs along the last axis: for every (i, j, k < 16) eight bytes holding the
// entries k and k + 1 interleaved channel by channel (a missing fourth channel is 0). One
// 8-byte load then gives two corners ready for SSE2's multiply-and-add, which sums a pair
// of corners per channel in one instruction.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

constexpr uint32_t kLatticeSide = 17;
constexpr uint32_t kLatticePoints = kLatticeSide * kLatticeSide * kLatticeSide;  // 4913
constexpr uint32_t kLatticePairBytes = kLatticeSide * kLatticeSide * 16 * 8;

// entries: kLatticePoints entries of `channels` (3 or 4) bytes, file order; pairs: room for
// kLatticePairBytes.
void BuildLatticePairs(const uint8_t* entries, uint32_t channels, uint8_t* pairs);

// The four output bytes at (u0, u1, u2), first channel in the lowest byte.
inline uint32_t InterpolateLattice(const uint8_t* pairs, uint32_t u0, uint32_t u1, uint32_t u2) {
    const uint32_t f0 = u0 & 15, f1 = u1 & 15, f2 = u2 & 15;
    const uint8_t* at = pairs + (((u0 >> 4) * kLatticeSide + (u1 >> 4)) * 16 + (u2 >> 4)) * 8;
    constexpr uint32_t next1 = 16 * 8, next0 = kLatticeSide * 16 * 8;
    const uint32_t w00 = (16 - f0) * (16 - f1), w01 = (16 - f0) * f1;
    const uint32_t w10 = f0 * (16 - f1), w11 = f0 * f1;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i wk = _mm_set1_epi32(int32_t(f2 << 16 | (16 - f2)));
    auto alongLast = [&](const uint8_t* p) {
        const __m128i both = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        return _mm_madd_epi16(_mm_unpacklo_epi8(both, zero), wk);  // at most 16 x 255
    };
    // Two 16-bit sums per 32-bit lane, so that one more multiply-and-add weighs both.
    const __m128i low = _mm_or_si128(alongLast(at), _mm_slli_epi32(alongLast(at + next1), 16));
    const __m128i high =
        _mm_or_si128(alongLast(at + next0), _mm_slli_epi32(alongLast(at + next0 + next1), 16));
    __m128i sum = _mm_add_epi32(_mm_madd_epi16(low, _mm_set1_epi32(int32_t(w01 << 16 | w00))),
                                _mm_madd_epi16(high, _mm_set1_epi32(int32_t(w11 << 16 | w10))));
    sum = _mm_srli_epi32(sum, 12);
    sum = _mm_packs_epi32(sum, sum);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
#else
    uint32_t out = 0;
    for (uint32_t c = 0; c < 4; ++c) {
        auto along = [&](const uint8_t* p) { return (16 - f2) * p[2 * c] + f2 * p[2 * c + 1]; };
        const uint32_t sum = w00 * along(at) + w01 * along(at + next1) + w10 * along(at + next0) +
                             w11 * along(at + next0 + next1);
        out |= (sum >> 12) << (8 * c);
    }
    return out;
#endif
}
