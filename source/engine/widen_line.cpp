#include "widen_line.h"

#include <array>
#include <cstring>
#include <numeric>

#include "bit_doubling.h"
#include "byte_average.h"

// Thinned gray and colour lines can also be gathered sixteen bytes at a time by a byte
// shuffle, which SSE2 lacks: that path is built for SSSE3 and taken only on processors that
// have it, chosen when the plan is built.
#if defined(__SSE2__) && defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define KV_WIDEN_SHUFFLE 1
#include <tmmintrin.h>
#endif

WidenPlan TheWidenPlan;

namespace {

constexpr uint32_t kFullResolution = 1200;
constexpr uint64_t kLargestBlock = uint64_t(1) << 30;
constexpr uint32_t kWorkLineSlack = 8;  // word-sized moves may read past the last sample

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

// The thinning accumulator: starting at 1200, doubled sample j is kept when R + a reaches
// 1200 (and gives 1200 back), else dropped. Calls keep(j) for every kept sample.
template <class Keep>
uint32_t Thin(uint64_t doubled, uint32_t asked, Keep keep) {
    int64_t a = kFullResolution;
    uint32_t kept = 0;
    for (uint64_t j = 0; j < doubled; ++j) {
        if (asked + a < kFullResolution) {
            a += asked;
            continue;
        }
        a += int64_t(asked) - kFullResolution;
        keep(j, kept++);
    }
    return kept;
}

// After its first step the accumulator is (j x R) mod 1200, so from sample 1 on the kept
// samples repeat every 1200 / gcd(R, 1200) samples. Enough periods to keep at least
// kGatherRun samples are taken as one, so that the gather's inner loop is long; their
// offsets stay in the first-level cache and drive the whole line.
constexpr uint32_t kGatherRun = 64;
constexpr uint32_t kLargestOffsets = kFullResolution + kGatherRun;

void PlanPeriod(WidenPlan& plan, uint32_t asked) {
    const uint32_t g = std::gcd(asked, kFullResolution);
    const uint32_t period = kFullResolution / g, kept = asked / g;
    const uint32_t repeats = (kGatherRun + kept - 1) / kept;
    plan.period = period * repeats;
    plan.keptPerPeriod = kept * repeats;
    uint32_t m = 0;
    for (uint32_t t = 1; t <= plan.period; ++t)
        if (uint64_t(t) * asked % kFullResolution + asked >= kFullResolution) plan.offsets[m++] = t - 1;
}

// Line art: each input byte becomes two bytes, the high nibble's bits doubled first; one
// lookup gives both.
constexpr std::array<uint16_t, 256> ByteDoubledTable() {
    std::array<uint16_t, 256> table{};
    for (uint32_t v = 0; v < 256; ++v)
        table[v] = uint16_t(kNibbleDoubled[v >> 4] | kNibbleDoubled[v & 15] << 8);
    return table;
}
constexpr std::array<uint16_t, 256> kByteDoubled = ByteDoubledTable();

void DoubleLineArt(const uint8_t* line, uint32_t bytes, uint8_t* out) {
    for (uint32_t i = 0; i < bytes; ++i) {
        const uint16_t both = kByteDoubled[line[i]];
        out[2 * i] = uint8_t(both);
        out[2 * i + 1] = uint8_t(both >> 8);
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

void DoubleLine(const WidenPlan& plan, const uint8_t* line, uint8_t* out) {
    switch (plan.kind) {
        case SampleKind::LineArt: return DoubleLineArt(line, plan.lineBytes, out);
        case SampleKind::Gray: return DoubleGray(line, plan.lineBytes, out);
        case SampleKind::Colour: return DoubleColour(line, plan.lineBytes / 3, out);
    }
}

// The kept samples of a doubled gray or colour line, at most `limit` bytes of them.
template <uint32_t Step>
void GatherKept(const WidenPlan& plan, const uint8_t* d, uint8_t* out, uint32_t limit) {
    const uint32_t samples = limit / Step < plan.keptCount ? limit / Step : plan.keptCount;
    const uint32_t perPeriod = plan.keptPerPeriod;
    uint32_t k = 0;
    auto put = [&](uint32_t j) {
        for (uint32_t c = 0; c < Step; ++c) out[k * Step + c] = d[j * Step + c];
        ++k;
    };
    if (samples == 0) {
        for (uint32_t c = 0; c < limit && c < Step; ++c) out[c] = d[c];
        return;
    }
    put(0);
    uint32_t base = 1, m = 0;
    const uint32_t* offsets = plan.offsets;
    // A colour pixel moves as a four-byte word whose last byte the next pixel overwrites,
    // so these runs stop short of the last pixel (the work line has room past its end).
    const uint32_t spare = Step == 3 ? 1 : 0;
    for (; k + perPeriod + spare <= samples; base += plan.period, k += perPeriod) {
        const uint8_t* from = d + base * Step;
        uint8_t* to = out + k * Step;
        for (uint32_t i = 0; i < perPeriod; ++i) {
            if constexpr (Step == 3)
                std::memcpy(to + i * 3, from + offsets[i] * 3, 4);
            else
                to[i] = from[offsets[i]];
        }
    }
    while (k < samples) put(base + offsets[m++]);  // put() advances k
    // A capped colour row can end inside a pixel: the next kept pixel's first bytes.
    const uint32_t j = base + plan.offsets[m];
    for (uint32_t c = 0; samples < plan.keptCount && k * Step + c < limit; ++c)
        out[k * Step + c] = d[j * Step + c];
}

// The kept samples of a thinned gray or colour line straight from the scanner line, with no
// doubled work line: each output byte is either an input byte or the mean of it and the same
// byte of the next sample. The plan cuts the output into chunks of at most sixteen bytes whose
// sources lie within sixteen input bytes; one chunk is two loads, their mean, two shuffles
// picking the bytes (a lane of -1 gives 0) and one sixteen-byte store, of which the next
// chunk overwrites the lanes past this one's length.
struct GatherChunk {
    uint8_t direct[16];  // lane i: the input byte at from + direct[i], or -1
    uint8_t mean[16];    // lane i: the mean at from + mean[i], or -1
    uint32_t from;       // the first input byte the chunk reads
    uint32_t length;     // output bytes the chunk gives
};

// Where the plan's chunks are kept: after the work line, at a 16-byte boundary, this header
// and then `count` chunks.
struct GatherChunks {
    uint32_t count = 0;    // 0: no chunks (no byte shuffle on this processor, or too sparse)
    uint32_t pad[3] = {};

    GatherChunk* chunks() { return reinterpret_cast<GatherChunk*>(this + 1); }
    const GatherChunk* chunks() const { return reinterpret_cast<const GatherChunk*>(this + 1); }
};

// Chunks that give fewer than this many bytes on average are not worth their table.
constexpr uint32_t kLeastChunkFill = 8;

uint64_t ChunkTableBytes(uint64_t outBytes) {
    return sizeof(GatherChunks) + (outBytes / kLeastChunkFill + 1) * sizeof(GatherChunk);
}

uint64_t AlignUp16(uint64_t n) { return (n + 15) & ~uint64_t(15); }

uint8_t* WorkLineEnd(const WidenPlan& plan) {
    const uint64_t doubledBytes = BytesOfSamples(plan.kind, DoubledSamples(plan.kind, plan.lineBytes));
    return plan.doubled + AlignUp16(doubledBytes + kWorkLineSlack);
}

GatherChunks* ChunksOf(const WidenPlan& plan) {
    return reinterpret_cast<GatherChunks*>(WorkLineEnd(plan));
}

bool HasByteShuffle() {
#if defined(KV_WIDEN_SHUFFLE)
    // Initialised here as well: a plan may be built before the library's own constructors.
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("ssse3"));
    return has;
#else
    return false;
#endif
}

// Fills the chunks from the kept doubled samples, in output order. The chunks stop where a
// chunk's loads (sixteen bytes from `from` and from the next sample) would pass the last
// whole sample; the bytes after them are gathered one by one.
class ChunkBuilder {
public:
    ChunkBuilder(GatherChunks* table, uint32_t capacity, uint32_t step, uint32_t samples)
        : table_(table), capacity_(capacity), step_(step), end_(samples * step) {
        *table_ = GatherChunks{};
    }
    void Sample(uint64_t j) {
        const uint32_t i = uint32_t(j >> 1);
        // The last sample's mean is the sample itself.
        const bool mean = (j & 1) && uint64_t(i + 1) * step_ < end_;
        for (uint32_t c = 0; c < step_; ++c) Byte(i * step_ + c, mean);
    }
    // Chunks too many for the table (samples too sparse) leave none: the line is then
    // gathered the plain way.
    void Finish() {
        Close();
        if (failed_) table_->count = 0;
    }

private:
    void Byte(uint32_t at, bool mean) {
        if (stopped_) return;
        if (lanes_ && (lanes_ == 16 || at - chunk_.from > 15)) Close();
        if (!lanes_) {
            if (uint64_t(at) + 16 + step_ > end_) return void(stopped_ = true);
            if (table_->count == capacity_) return void(stopped_ = failed_ = true);
            std::memset(chunk_.direct, 0xFF, 16);
            std::memset(chunk_.mean, 0xFF, 16);
            chunk_.from = at;
        }
        (mean ? chunk_.mean : chunk_.direct)[lanes_++] = uint8_t(at - chunk_.from);
    }
    void Close() {
        if (!lanes_ || failed_) return;
        chunk_.length = lanes_;
        table_->chunks()[table_->count++] = chunk_;
        lanes_ = 0;
    }

    GatherChunks* table_;
    uint32_t capacity_, step_, end_;
    GatherChunk chunk_{};
    uint32_t lanes_ = 0;
    bool stopped_ = false, failed_ = false;
};

#if defined(KV_WIDEN_SHUFFLE)
// Runs the chunks while a whole sixteen-byte store still fits under `limit`; returns the
// output bytes given.
template <uint32_t Step>
__attribute__((target("ssse3"))) uint32_t RunChunks(const GatherChunks& t, const uint8_t* p,
                                                    uint8_t* out, uint32_t limit) {
    uint32_t o = 0;
    const GatherChunk* c = t.chunks();
    const GatherChunk* end = c + t.count;
    for (; c != end && o + 16 <= limit; ++c) {
        const __m128i a = Load16(p + c->from);
        const __m128i mean = FloorAverage16(a, Load16(p + c->from + Step));
        const __m128i picked = _mm_or_si128(_mm_shuffle_epi8(a, Load16(c->direct)),
                                            _mm_shuffle_epi8(mean, Load16(c->mean)));
        Store16(out + o, picked);
        o += c->length;
    }
    return o;
}
#endif

// Output bytes [from, limit) of a thinned gray or colour line one by one, from the kept
// doubled sample each belongs to.
template <uint32_t Step>
void GatherTail(const WidenPlan& plan, const uint8_t* p, uint8_t* out, uint32_t from, uint32_t limit) {
    const uint32_t samples = plan.lineBytes / Step;
    for (uint32_t b = from; b < limit; ++b) {
        const uint32_t k = b / Step, c = b % Step;
        uint64_t j = 0;
        if (k > 0) {
            const uint32_t m = k - 1;
            j = 1 + uint64_t(m / plan.keptPerPeriod) * plan.period + plan.offsets[m % plan.keptPerPeriod];
        }
        const uint32_t i = uint32_t(j >> 1);
        const bool mean = (j & 1) && i + 1 < samples;
        out[b] = mean ? FloorAverage(p[i * Step + c], p[(i + 1) * Step + c]) : p[i * Step + c];
    }
}

template <uint32_t Step>
void GatherByChunks(const WidenPlan& plan, const GatherChunks& t, const uint8_t* p, uint8_t* out,
                    uint32_t limit) {
    uint32_t o = 0;
#if defined(KV_WIDEN_SHUFFLE)
    o = RunChunks<Step>(t, p, out, limit);
#endif
    GatherTail<Step>(plan, p, out, o, limit);
}

// Kept bits packed from the most significant bit; the unused end of the last byte is 0.
void ThinLineArt(const WidenPlan& plan, const uint8_t* p, uint8_t* out, uint32_t limit) {
    uint32_t k = 0;
    for (uint32_t byte = 0; byte < limit; ++byte) {
        uint32_t packed = 0;
        for (uint32_t bit = 0; bit < 8; ++bit, ++k) {
            uint32_t v = 0;
            if (k < plan.keptCount) v = (p[plan.bits[k] >> 3] >> (7 - (plan.bits[k] & 7))) & 1;
            packed = packed << 1 | v;
        }
        out[byte] = uint8_t(packed);
    }
}

bool AllocatePlan(WidenPlan& plan, uint64_t doubledBytes) {
    uint64_t indices = 0;
    if (plan.thinned)
        indices = 4 * (plan.kind == SampleKind::LineArt ? uint64_t(plan.keptCount) : kLargestOffsets);
    const bool chunked = plan.thinned && plan.kind != SampleKind::LineArt;
    const uint64_t total = AlignUp16(indices) + AlignUp16(doubledBytes + kWorkLineSlack) +
                           (chunked ? ChunkTableBytes(plan.outBytes) : 0) + 16;
    if (total > kLargestBlock) return false;
    plan.block = plat::MemAlloc(size_t(total));
    uint8_t* base = plan.block ? static_cast<uint8_t*>(plat::MemLock(plan.block)) : nullptr;
    if (!base) {
        if (plan.block) plat::MemFree(plan.block);
        plan.block = nullptr;
        return false;
    }
    // Every part starts on a 16-byte boundary, so that the chunk table is found again from
    // the work line's length alone.
    base = reinterpret_cast<uint8_t*>(AlignUp16(reinterpret_cast<uintptr_t>(base)));
    if (plan.thinned && plan.kind == SampleKind::LineArt) plan.bits = reinterpret_cast<uint32_t*>(base);
    if (chunked) plan.offsets = reinterpret_cast<uint32_t*>(base);
    plan.doubled = base + AlignUp16(indices);
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
    const uint64_t doubledBytes = BytesOfSamples(kind, doubled);
    if (doubled == 0 || doubledBytes > kLargestBlock) return false;
    const bool thinning = WidenTarget(effectiveResolution) < kFullResolution;
    if (thinning && askedResolution == 0) return false;
    WidenPlan p;
    p.kind = kind;
    p.lineBytes = lineBytes;
    // An asked resolution of 1200 or more keeps every doubled sample.
    p.thinned = thinning && askedResolution < kFullResolution;
    const uint64_t samples = p.thinned ? Thin(doubled, askedResolution, [](uint64_t, uint32_t) {}) : doubled;
    p.keptCount = uint32_t(samples);
    p.outBytes = uint32_t(BytesOfSamples(kind, samples));
    if (!AllocatePlan(p, doubledBytes)) return false;
    if (p.thinned && kind == SampleKind::LineArt)
        Thin(doubled, askedResolution, [&](uint64_t j, uint32_t k) { p.bits[k] = uint32_t(j >> 1); });
    else if (p.thinned) {
        PlanPeriod(p, askedResolution);
        GatherChunks* chunks = ChunksOf(p);
        const uint32_t step = kind == SampleKind::Colour ? 3 : 1;
        ChunkBuilder builder(chunks, uint32_t(p.outBytes / kLeastChunkFill + 1), step, lineBytes / step);
        if (HasByteShuffle()) {
            Thin(doubled, askedResolution, [&](uint64_t j, uint32_t) { builder.Sample(j); });
            builder.Finish();
        }
    }
    *plan = p;
    return true;
}

uint32_t WidenLine(const WidenPlan& plan, const uint8_t* line, uint8_t* out, uint32_t outCapacity) {
    if (!plan.block || !line || !out) return 0;
    const uint32_t length = outCapacity < plan.outBytes ? outCapacity : plan.outBytes;
    if (plan.thinned && plan.kind == SampleKind::LineArt) {
        ThinLineArt(plan, line, out, length);
    } else if (plan.thinned && ChunksOf(plan)->count) {
        if (plan.kind == SampleKind::Colour)
            GatherByChunks<3>(plan, *ChunksOf(plan), line, out, length);
        else
            GatherByChunks<1>(plan, *ChunksOf(plan), line, out, length);
    } else if (plan.thinned) {
        DoubleLine(plan, line, plan.doubled);
        if (plan.kind == SampleKind::Colour)
            GatherKept<3>(plan, plan.doubled, out, length);
        else
            GatherKept<1>(plan, plan.doubled, out, length);
    } else if (length == plan.outBytes) {
        DoubleLine(plan, line, out);
    } else {
        DoubleLine(plan, line, plan.doubled);
        std::memcpy(out, plan.doubled, length);
    }
    return length;
}
