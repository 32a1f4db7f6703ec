// The per-pixel loops of the colour adjustment. Built with -O3: these run over every byte of
// every colour scan. Each loop reads a pixel before it writes one, so dst may equal src.
#include <cstring>

#include "engine/byte_table_wide.h"
#include "engine/color_adjust_plan.h"
#include "common/red_blue_swap.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// first/last: where the outputs of channels 0 and 2 go (2 and 0 when swapped).
template <int first, int last>
void PerChannelLoop(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst,
                    const uint8_t* src) {
    // Local copies of the table addresses: a byte store may alias anything, and the
    // compiler would otherwise reload them after every pixel.
    const uint8_t* t0 = plan.perChannel[0];
    const uint8_t* t1 = plan.perChannel[1];
    const uint8_t* t2 = plan.perChannel[2];
    for (size_t p = 0; p < pixels; ++p, src += 3, dst += 3) {
        const uint8_t c0 = src[0], c1 = src[1], c2 = src[2];
        dst[first] = t0[c0];
        dst[1] = t1[c1];
        dst[last] = t2[c2];
    }
}

// Whole 64-pixel blocks through the byte-permute kernel where the processor has it, the rest
// one pixel at a time.
void PerChannel(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst, const uint8_t* src) {
    size_t done = 0;
    if (pixels >= 64 && HasWideByteTables()) {
        const uint8_t* const tables[3] = {plan.perChannel[0], plan.perChannel[1],
                                          plan.perChannel[2]};
        done = LookupPixelsWide(tables, plan.swapOutputs, pixels, dst, src);
    }
    const size_t rest = pixels - done;
    dst += 3 * done;
    src += 3 * done;
    if (plan.swapOutputs) PerChannelLoop<2, 0>(plan, rest, dst, src);
    else PerChannelLoop<0, 2>(plan, rest, dst, src);
}

void CopyLoop(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst, const uint8_t* src) {
    if (dst != src) std::memmove(dst, src, pixels * 3);
    if (plan.swapOutputs) SwapRedBlueInPlace(dst, pixels);
}

void WideLoop(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst, const uint8_t* src) {
    const auto& t = plan.wide.t;
    for (size_t p = 0; p < pixels; ++p, src += 3, dst += 3) {
        const uint8_t c0 = src[0], c1 = src[1], c2 = src[2];
        int32_t out[3];
        for (int k = 0; k < 3; ++k) {
            const int64_t sum = int64_t(t[0][k][c0]) + t[1][k][c1] + t[2][k][c2];
            out[k] = int32_t(sum < 0 ? 0 : (sum > 255 ? 255 : sum));
        }
        dst[0] = uint8_t(out[0]);
        dst[1] = uint8_t(out[1]);
        dst[2] = uint8_t(out[2]);
    }
}

#if defined(__SSE2__)

// The three outputs of a pixel as 16-bit lanes: two saturating adds, then one pack that
// clamps every lane to 0..255.
inline uint32_t LanePixel(const ColorAdjustPlan& plan, unsigned c0, unsigned c1, unsigned c2) {
    const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(plan.lanes[0][c0]));
    const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(plan.lanes[1][c1]));
    const __m128i c = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(plan.lanes[2][c2]));
    const __m128i sum = _mm_adds_epi16(_mm_adds_epi16(a, b), c);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
}

void LanesLoop(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst, const uint8_t* src) {
    if (pixels == 0) return;
    unsigned c0 = src[0], c1 = src[1], c2 = src[2];
    for (size_t p = 0; p + 1 < pixels; ++p) {
        const uint32_t out = LanePixel(plan, c0, c1, c2);
        // The next pixel is read before this one is stored: the 4-byte store reaches into
        // the next pixel's first byte, which in place is still to be read.
        const uint8_t* next = src + 3 * (p + 1);
        c0 = next[0], c1 = next[1], c2 = next[2];
        std::memcpy(dst + 3 * p, &out, 4);
    }
    const uint32_t out = LanePixel(plan, c0, c1, c2);
    std::memcpy(dst + 3 * (pixels - 1), &out, 3);
}

#endif

}  // namespace

bool ColorAdjustHasLanes() {
#if defined(__SSE2__)
    return true;
#else
    return false;
#endif
}

void RunColorAdjust(const ColorAdjustPlan& plan, size_t pixels, uint8_t* dst,
                    const uint8_t* src) {
    switch (plan.kernel) {
        case AdjustKernel::Copy: return CopyLoop(plan, pixels, dst, src);
        case AdjustKernel::PerChannel: return PerChannel(plan, pixels, dst, src);
#if defined(__SSE2__)
        case AdjustKernel::Lanes: return LanesLoop(plan, pixels, dst, src);
#else
        case AdjustKernel::Lanes: break;  // never chosen without SSE2
#endif
        case AdjustKernel::Wide: return WideLoop(plan, pixels, dst, src);
    }
}
