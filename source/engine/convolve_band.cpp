#include "engine/convolve_band.h"

#include <algorithm>
#include <cstring>

#include "engine/byte_division.h"

ConvolveHistory TheConvolveHistories[2];

namespace {

int32_t Positive(int32_t w) { return w > 0 ? w : 0; }

// The divisor and the largest sum that needs dividing, or false when the weights cannot be
// used (a divisor of 0 or less, or sums beyond what the kernel's arithmetic holds).
bool DivisorOf(const ConvolveWeights& w, int32_t* divisor, uint32_t* largest) {
    constexpr int32_t kLimit = 1 << 12;
    if (w.corner <= -kLimit || w.corner >= kLimit || w.edge <= -kLimit || w.edge >= kLimit ||
        w.centre <= -kLimit || w.centre >= kLimit)
        return false;
    *divisor = 4 * w.corner + 4 * w.edge + w.centre;
    *largest = 255u * uint32_t(4 * Positive(w.corner) + 4 * Positive(w.edge) + Positive(w.centre));
    return *divisor > 0;
}

// A multiplier below 2^16 and a shift with (v x multiplier) >> shift == v / divisor for every
// 0 <= v <= largest, checked value by value; multiplier 0 when there is none (the row kernel
// then divides).
void ChooseReciprocal(uint32_t divisor, uint32_t largest, uint32_t* multiplier, uint32_t* shift) {
    *multiplier = 0;
    *shift = 0;
    if (largest >= (1u << 16)) return;
    for (uint32_t k = 31; k > 0; --k) {
        const uint64_t m = ((uint64_t(1) << k) + divisor - 1) / divisor;
        if (m >= (1u << 16)) continue;
        bool exact = true;
        for (uint32_t v = 0; v <= largest && exact; ++v)
            exact = ((v * uint32_t(m)) >> k) == v / divisor;
        if (exact) {
            *multiplier = uint32_t(m);
            *shift = k;
        }
        return;  // the largest usable shift is the most accurate; smaller ones are no better
    }
}

struct RowKernel {
    int32_t corner, edge, centre;
    uint32_t multiplier, shift, divisor;
    // The same for the 16-bit kernel. Held as 16-bit fields: narrowed from 32-bit values
    // inside the kernel, the compiler no longer sees them as 16-bit and widens the loop.
    int16_t corner16, edge16, centre16;
    uint16_t multiplier16, extraShift16;
};

template <bool Reciprocal>
void ConvolveRow(uint8_t* __restrict out, int16_t*, const uint8_t* __restrict up,
                 const uint8_t* __restrict mid, const uint8_t* __restrict down, uint32_t n,
                 uint32_t s, const RowKernel k) {
    // Pointers to each neighbour's run and a size_t count: 32-bit indices that might wrap
    // keep the compiler from vectorising. The rows are padded, so x - 1 is at index x.
    const uint8_t *ul = up, *uc = up + s, *ur = up + 2 * s;
    const uint8_t *ml = mid, *mc = mid + s, *mr = mid + 2 * s;
    const uint8_t *dl = down, *dc = down + s, *dr = down + 2 * s;
    const size_t count = n;
    for (size_t x = 0; x < count; ++x) {
        const int32_t corners = ul[x] + ur[x] + dl[x] + dr[x];
        const int32_t edges = uc[x] + dc[x] + ml[x] + mr[x];
        const int32_t v = k.corner * corners + k.edge * edges + k.centre * mc[x];
        const uint32_t u = uint32_t(v < 0 ? 0 : v);
        const uint32_t q = Reciprocal ? (u * k.multiplier) >> k.shift : u / k.divisor;
        out[x] = uint8_t(q > 255 ? 255 : q);
    }
}

// The same in 16-bit lanes, for weights whose sums stay within -32768..32767 and a
// reciprocal whose shift is at least 16 (every weight set in use): the products are the
// low halves of 16-bit multiplies, the quotient a high half shifted on. The weighted sums
// go through a row of 16-bit values first; in one loop the compiler widens the quotient
// to 32-bit multiplies, in two it finds the 16-bit high multiply.
void ConvolveRow16(uint8_t* __restrict out, int16_t* __restrict sums,
                   const uint8_t* __restrict up, const uint8_t* __restrict mid,
                   const uint8_t* __restrict down, uint32_t n, uint32_t s, const RowKernel k) {
    const uint8_t *ul = up, *uc = up + s, *ur = up + 2 * s;
    const uint8_t *ml = mid, *mc = mid + s, *mr = mid + 2 * s;
    const uint8_t *dl = down, *dc = down + s, *dr = down + 2 * s;
    const size_t count = n;
    for (size_t x = 0; x < count; ++x) {
        const int16_t corners = int16_t(ul[x] + ur[x] + dl[x] + dr[x]);
        const int16_t edges = int16_t(uc[x] + dc[x] + ml[x] + mr[x]);
        sums[x] = int16_t(k.corner16 * corners + k.edge16 * edges + k.centre16 * mc[x]);
    }
    for (size_t x = 0; x < count; ++x) {
        const uint16_t u = uint16_t(std::max<int16_t>(sums[x], 0));
        const uint16_t q = uint16_t(MulHigh(u, k.multiplier16) >> k.extraShift16);
        out[x] = uint8_t(q > 255 ? 255 : q);
    }
}

// True when ConvolveRow16 computes exactly what ConvolveRow does for these weights.
bool FitsSixteenBits(const ConvolveWeights& w, uint32_t multiplier, uint32_t shift) {
    auto magnitude = [](int32_t v) { return v < 0 ? -v : v; };
    const int32_t bound = 1020 * magnitude(w.corner) + 1020 * magnitude(w.edge) + 255 * magnitude(w.centre);
    return multiplier != 0 && shift >= 16 && bound <= 32767;
}

uint32_t PaddedBytes(const BandShape& shape) { return shape.rowBytes + 2 * shape.sampleBytes; }

// Copies a band row into a history row with its end pixels replicated outwards.
void LoadPadded(uint8_t* padded, const uint8_t* row, const BandShape& shape) {
    const uint32_t s = shape.sampleBytes, n = shape.rowBytes;
    std::memcpy(padded + s, row, n);
    std::memcpy(padded, row, s);
    std::memcpy(padded + s + n, row + n - s, s);
}

bool ShapeUsable(const BandShape& shape) {
    return (shape.sampleBytes == 1 || shape.sampleBytes == 3) && shape.rowBytes > 0 &&
           shape.rowBytes % shape.sampleBytes == 0 && shape.rowBytes < (1u << 30) &&
           shape.imageLines > 0;
}

bool SameShape(const BandShape& a, const BandShape& b) {
    return a.rowBytes == b.rowBytes && a.sampleBytes == b.sampleBytes &&
           a.imageLines == b.imageLines;
}

// Line 0: takes the shape and weights and makes room for the sums and the three rows.
bool StartImage(ConvolveHistory& h, const BandShape& shape, const ConvolveWeights& weights) {
    h.active = false;
    int32_t divisor = 0;
    uint32_t largest = 0;
    if (!ShapeUsable(shape) || !DivisorOf(weights, &divisor, &largest)) return false;
    const uint32_t sumBytes = 2 * shape.rowBytes, bytes = sumBytes + 3 * PaddedBytes(shape);
    if (h.capacity < bytes) {
        FreeConvolveHistory(h);
        h.block = plat::MemAlloc(bytes);
        h.base = h.block ? static_cast<uint8_t*>(plat::MemLock(h.block)) : nullptr;
        if (!h.base) {
            FreeConvolveHistory(h);
            return false;
        }
        h.capacity = bytes;
    }
    // Movable blocks are aligned for any type, so the sums at the start are too.
    h.sums = reinterpret_cast<int16_t*>(h.base);
    h.rows = h.base + sumBytes;
    h.shape = shape;
    h.weights = weights;
    ChooseReciprocal(uint32_t(divisor), largest, &h.multiplier, &h.shift);
    h.nextLine = 0;
    h.active = true;
    return true;
}

// Rows the band gives back: one per row after line 0, plus the last line when it ends here.
uint64_t RowsOut(uint32_t firstLine, uint32_t rows, bool endsImage) {
    return uint64_t(rows) - (firstLine == 0 && rows > 0 ? 1 : 0) + (endsImage ? 1 : 0);
}

}  // namespace

bool DescreenWeights(uint16_t deScreen, ConvolveWeights* weights) {
    switch (deScreen) {
        case 1018: *weights = {0, 1, 3}; return true;
        case 1019: *weights = {1, 3, 5}; return true;
        case 1020: *weights = {3, 5, 7}; return true;
        default: return false;
    }
}

void FreeConvolveHistory(ConvolveHistory& h) {
    if (h.block) {
        if (h.base) plat::MemUnlock(h.block);
        plat::MemFree(h.block);
    }
    h = ConvolveHistory{};
}

void FreeConvolveHistories() {
    for (ConvolveHistory& h : TheConvolveHistories) FreeConvolveHistory(h);
}

ConvolvedRows ConvolveBandWith(ConvolveHistory& h, uint8_t* band, uint32_t rows,
                               uint32_t capacityRows, const BandShape& shape,
                               uint32_t firstLine, const ConvolveWeights& weights) {
    const ConvolvedRows unchanged{firstLine, rows, false};
    if (!band) return unchanged;
    if (firstLine == 0 && !StartImage(h, shape, weights)) return unchanged;
    if (!h.active || firstLine != h.nextLine || !SameShape(shape, h.shape) ||
        uint64_t(firstLine) + rows > shape.imageLines ||
        RowsOut(firstLine, rows, firstLine + rows == shape.imageLines) > capacityRows) {
        h.active = false;
        return unchanged;
    }

    const uint32_t padded = PaddedBytes(shape), n = shape.rowBytes, s = shape.sampleBytes;
    const int32_t divisor = 4 * h.weights.corner + 4 * h.weights.edge + h.weights.centre;
    const RowKernel kernel{h.weights.corner,        h.weights.edge,
                           h.weights.centre,        h.multiplier,
                           h.shift,                 uint32_t(divisor),
                           int16_t(h.weights.corner), int16_t(h.weights.edge),
                           int16_t(h.weights.centre), uint16_t(h.multiplier),
                           uint16_t(h.shift >= 16 ? h.shift - 16 : 0)};
    auto convolve = FitsSixteenBits(h.weights, h.multiplier, h.shift) ? ConvolveRow16
                    : h.multiplier                                   ? ConvolveRow<true>
                                                                     : ConvolveRow<false>;
    // Line L lives in history row L % 3, so a band may end anywhere. Line 0 is also copied
    // into row 2, where line "-1", its upper neighbour, would be.
    auto padRow = [&](uint32_t line) { return h.rows + size_t(line % 3) * padded; };
    uint32_t out = 0;
    auto emit = [&](uint32_t line, const uint8_t* below) {
        convolve(band + size_t(out++) * n, h.sums, padRow(line + 2), padRow(line), below, n, s,
                 kernel);
    };
    for (uint32_t j = 0; j < rows; ++j) {
        const uint32_t line = firstLine + j;
        LoadPadded(padRow(line), band + size_t(j) * n, shape);
        if (line == 0)
            std::memcpy(padRow(2), padRow(0), padded);
        else
            emit(line - 1, padRow(line));  // finished now that its lower neighbour is here
    }
    h.nextLine = firstLine + rows;
    if (h.nextLine == shape.imageLines) {
        const uint32_t last = h.nextLine - 1;
        emit(last, padRow(last));  // the last row is its own lower neighbour
        h.active = false;
    }
    return {firstLine == 0 ? 0 : firstLine - 1, out};
}

ConvolvedRows ConvolveBand(uint8_t* band, uint32_t rows, uint32_t capacityRows,
                           const BandShape& shape, uint32_t firstLine,
                           const ConvolveWeights& weights, int historySet) {
    if (historySet < 0 || historySet > 1) return {firstLine, rows};
    return ConvolveBandWith(TheConvolveHistories[historySet], band, rows, capacityRows, shape,
                            firstLine, weights);
}
