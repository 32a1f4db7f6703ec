#include "widen_line.h"

#include <cstring>

#include "bit_doubling.h"
#include "byte_average.h"

WidenPlan TheWidenPlan;

namespace {

constexpr uint32_t kFullResolution = 1200;
constexpr uint64_t kLargestBlock = uint64_t(1) << 30;

// Doubled samples of a line: bits for line art, bytes for gray, pixels for colour.
uint64_t DoubledSamples(SampleKind kind, uint32_t lineBytes) {
    switch (kind) {
        case SampleKind::LineArt: return uint64_t(lineBytes) * 16;
        case SampleKind::Gray: return uint64_t(lineBytes) * 2;
        case SampleKind::Colour: return uint64_t(lineBytes / 3) * 2;
    }
    return 0;
}

uint64_t BytesOfSamples(SampleKind kind, uint64_t samples) {
    switch (kind) {
        case SampleKind::LineArt: return (samples + 7) / 8;  // a partly filled byte counts
        case SampleKind::Gray: return samples;
        case SampleKind::Colour: return samples * 3;
    }
    return 0;
}

// Counts, and with `plan` given records, the doubled samples the accumulator keeps: starting
// at 1200, a sample is kept when R + a reaches 1200 (and gives 1200 back), else dropped.
uint32_t Thin(uint64_t doubled, uint32_t asked, WidenPlan* plan) {
    int64_t a = kFullResolution;
    uint32_t kept = 0;
    for (uint64_t j = 0; j < doubled; ++j) {
        if (asked + a < kFullResolution) {
            a += asked;
            continue;
        }
        a += int64_t(asked) - kFullResolution;
        if (plan) {
            // Doubled sample j is input sample j / 2, or for odd j the mean of it and the
            // next one; the last input sample is simply repeated.
            const uint32_t step = SampleStep(plan->kind), i = uint32_t(j >> 1);
            const uint32_t samples =
                plan->kind == SampleKind::Colour ? plan->lineBytes / 3 : plan->lineBytes;
            if (plan->kind == SampleKind::LineArt) {
                plan->first[kept] = i;
            } else {
                plan->first[kept] = i * step;
                plan->second[kept] = (j & 1) && i + 1 < samples ? (i + 1) * step : i * step;
            }
        }
        ++kept;
    }
    return kept;
}

void DoubleLineArt(const uint8_t* line, uint32_t bytes, uint8_t* out) {
    for (uint32_t i = 0; i < bytes; ++i) {
        out[2 * i] = kNibbleDoubled[line[i] >> 4];
        out[2 * i + 1] = kNibbleDoubled[line[i] & 15];
    }
}

void DoubleGray(const uint8_t* p, uint32_t n, uint8_t* out) {
    uint32_t i = 0;
#if defined(__SSE2__)
    for (; i + 17 <= n; i += 16) {
        const __m128i a = Load16(p + i);
        const __m128i mean = FloorAverage16(a, Load16(p + i + 1));
        Store16(out + 2 * i, _mm_unpacklo_epi8(a, mean));
        Store16(out + 2 * i + 16, _mm_unpackhi_epi8(a, mean));
    }
#endif
    for (; i + 1 < n; ++i) {
        out[2 * i] = p[i];
        out[2 * i + 1] = FloorAverage(p[i], p[i + 1]);
    }
    out[2 * n - 2] = out[2 * n - 1] = p[n - 1];
}

// Eight bytes at a time: each pixel and the mean pixel after it are stored as eight-byte
// words of which three bytes count; the next store puts the right bytes over the rest.
void DoubleColour(const uint8_t* p, uint32_t n, uint8_t* out) {
    uint32_t x = 0;
    for (; x + 4 <= n; ++x) {
        const uint64_t a = Load8(p + 3 * x);
        Store8(out + 6 * x, a);
        Store8(out + 6 * x + 3, FloorAverage8(a, Load8(p + 3 * x + 3)));
    }
    for (; x < n; ++x) {
        const uint8_t* right = x + 1 < n ? p + 3 * x + 3 : p + 3 * x;
        for (int c = 0; c < 3; ++c) {
            out[6 * x + c] = p[3 * x + c];
            out[6 * x + 3 + c] = FloorAverage(p[3 * x + c], right[c]);
        }
    }
}

void ThinGray(const WidenPlan& plan, const uint8_t* p, uint8_t* out) {
    for (uint32_t k = 0; k < plan.keptCount; ++k)
        out[k] = FloorAverage(p[plan.first[k]], p[plan.second[k]]);
}

void ThinColour(const WidenPlan& plan, const uint8_t* p, uint8_t* out) {
    for (uint32_t k = 0; k < plan.keptCount; ++k) {
        const uint8_t* a = p + plan.first[k];
        const uint8_t* b = p + plan.second[k];
        out[3 * k] = FloorAverage(a[0], b[0]);
        out[3 * k + 1] = FloorAverage(a[1], b[1]);
        out[3 * k + 2] = FloorAverage(a[2], b[2]);
    }
}

// Kept bits packed from the most significant bit; the unused end of the last byte is 0.
void ThinLineArt(const WidenPlan& plan, const uint8_t* p, uint8_t* out) {
    uint32_t k = 0;
    for (uint32_t byte = 0; byte < plan.outBytes; ++byte) {
        uint32_t packed = 0;
        for (uint32_t bit = 0; bit < 8; ++bit, ++k) {
            uint32_t v = 0;
            if (k < plan.keptCount) v = (p[plan.first[k] >> 3] >> (7 - (plan.first[k] & 7))) & 1;
            packed = packed << 1 | v;
        }
        out[byte] = uint8_t(packed);
    }
}

void WidenWhole(const WidenPlan& plan, const uint8_t* line, uint8_t* out) {
    switch (plan.kind) {
        case SampleKind::LineArt:
            return plan.thinned ? ThinLineArt(plan, line, out) : DoubleLineArt(line, plan.lineBytes, out);
        case SampleKind::Gray:
            return plan.thinned ? ThinGray(plan, line, out) : DoubleGray(line, plan.lineBytes, out);
        case SampleKind::Colour:
            return plan.thinned ? ThinColour(plan, line, out) : DoubleColour(line, plan.lineBytes / 3, out);
    }
}

bool AllocatePlan(WidenPlan& plan) {
    const uint64_t indices = plan.thinned ? uint64_t(plan.keptCount) * 4 : 0;
    const uint64_t total = 2 * indices + plan.outBytes;
    if (total > kLargestBlock) return false;
    plan.block = plat::MemAlloc(size_t(total));
    uint8_t* base = plan.block ? static_cast<uint8_t*>(plat::MemLock(plan.block)) : nullptr;
    if (!base) {
        if (plan.block) plat::MemFree(plan.block);
        plan.block = nullptr;
        return false;
    }
    if (plan.thinned) {
        plan.first = reinterpret_cast<uint32_t*>(base);
        plan.second = reinterpret_cast<uint32_t*>(base + indices);
    }
    plan.scratch = base + 2 * indices;
    return true;
}

}  // namespace

uint32_t WidenTarget(uint32_t effectiveResolution) {
    const uint32_t e = effectiveResolution;
    return e > kFullResolution && e < 2 * kFullResolution ? e / 2 : e;
}

void FreeWidenPlan(WidenPlan& plan) {
    if (plan.block) {
        plat::MemUnlock(plan.block);
        plat::MemFree(plan.block);
    }
    plan = WidenPlan{};
}

bool BuildWidenPlan(SampleKind kind, uint32_t lineBytes, uint32_t effectiveResolution,
                    uint32_t askedResolution, WidenPlan* plan) {
    FreeWidenPlan(*plan);
    if (effectiveResolution <= 600 || lineBytes == 0) return false;
    const uint64_t doubled = DoubledSamples(kind, lineBytes);
    if (doubled == 0 || doubled > kLargestBlock) return false;
    WidenPlan p;
    p.kind = kind;
    p.lineBytes = lineBytes;
    p.thinned = WidenTarget(effectiveResolution) < kFullResolution;
    if (p.thinned && askedResolution == 0) return false;
    const uint64_t samples = p.thinned ? Thin(doubled, askedResolution, nullptr) : doubled;
    const uint64_t outBytes = BytesOfSamples(kind, samples);
    if (outBytes == 0 || outBytes > kLargestBlock) return false;
    p.keptCount = uint32_t(samples);
    p.outBytes = uint32_t(outBytes);
    if (!AllocatePlan(p)) return false;
    if (p.thinned) Thin(doubled, askedResolution, &p);
    *plan = p;
    return true;
}

uint32_t WidenLine(const WidenPlan& plan, const uint8_t* line, uint8_t* out, uint32_t outCapacity) {
    if (!plan.block || !line || !out) return 0;
    if (outCapacity >= plan.outBytes) {
        WidenWhole(plan, line, out);
        return plan.outBytes;
    }
    WidenWhole(plan, line, plan.scratch);
    std::memcpy(out, plan.scratch, outCapacity);
    return outCapacity;
}
