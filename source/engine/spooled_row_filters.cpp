#include "engine/spooled_row_filters.h"

#include <cstring>

#include "engine/byte_division.h"
#include "engine/native_filters.h"
#include "engine/row_flip.h"
#include "engine/scratch_block.h"

namespace {

struct Rows {
    uint8_t* data;
    uint32_t count;
    uint32_t bytes;  // per row
    uint32_t s;      // bytes per pixel (1 for line art: its bytes are handled whole)
    uint8_t* row(uint32_t r) const { return data + size_t(r) * bytes; }
};

void Invert(const Rows& b) {
    const size_t n = size_t(b.count) * b.bytes;
    for (size_t i = 0; i < n; ++i) b.data[i] = uint8_t(~b.data[i]);
}

// (sample & 4095) x 16 becomes (4095 - sample) x 16: the negative of the 12 bits, still at
// the top of the 16.
void InvertDeep(const Rows& b) {
    const size_t n = size_t(b.count) * b.bytes;
    for (size_t i = 0; i + 1 < n; i += 2) {
        const uint32_t sample = (b.data[i] | uint32_t(b.data[i + 1]) << 8) >> 4;
        const uint32_t inverted = (4095 - sample) << 4;
        b.data[i] = uint8_t(inverted);
        b.data[i + 1] = uint8_t(inverted >> 8);
    }
}

void Flip(const Rows& b, RowKind kind, uint8_t* copy) {
    for (uint32_t r = 0; r < b.count; ++r) {
        if (kind == RowKind::LineArt)
            FlipBitRow(b.row(r), b.bytes * 8, copy);
        else
            FlipPixelRow(b.row(r), b.bytes / b.s, b.s);
    }
}

// The row kernels index through pointers with a size_t count: 32-bit indices that might
// wrap keep the compiler from vectorising.

// Pixel 0 unchanged; inside (left + p + right) / 3; the last pixel (left + 2p) / 3.
void BlurRow(uint8_t* __restrict row, const uint8_t* __restrict in, uint32_t n, uint32_t s) {
    const uint8_t *l = in, *c = in + s, *r = in + 2 * s;
    uint8_t* o = row + s;
    const size_t inside = n - 2 * s;
    for (size_t x = 0; x < inside; ++x) o[x] = uint8_t(DivideBy3(uint16_t(l[x] + c[x] + r[x])));
    for (uint32_t x = n - s; x < n; ++x) row[x] = uint8_t(DivideBy3(uint16_t(in[x - s] + 2 * in[x])));
}

// Pixel 0 unchanged; inside 3p - left - right; the last pixel 2p - left; clamped.
void SharpenRow(uint8_t* __restrict row, const uint8_t* __restrict in, uint32_t n, uint32_t s) {
    const uint8_t *l = in, *c = in + s, *r = in + 2 * s;
    uint8_t* o = row + s;
    const size_t inside = n - 2 * s;
    for (size_t x = 0; x < inside; ++x) o[x] = ClampByte16(int16_t(3 * c[x] - l[x] - r[x]));
    for (uint32_t x = n - s; x < n; ++x) row[x] = ClampByte(2 * int32_t(in[x]) - in[x - s]);
}

template <class RowPass>
void Horizontal(const Rows& b, int passes, uint8_t* copy, RowPass pass) {
    if (b.bytes < 2 * b.s) return;  // a single pixel keeps its value
    // Rows do not affect one another, so each row takes all its passes while in cache.
    for (uint32_t r = 0; r < b.count; ++r) {
        for (int p = 0; p < passes; ++p) {
            std::memcpy(copy, b.row(r), b.bytes);
            pass(b.row(r), copy, b.bytes, b.s);
        }
    }
}

void EmbossRows(uint8_t* __restrict row, const uint8_t* __restrict next, size_t n) {
    for (size_t x = 0; x < n; ++x) row[x] = ClampByte16(int16_t(row[x] - next[x] + 128));
}

// Each row against the same pixel of the row after it, the block's last row against the
// row after the block; the image's last row repeats the row before it. A single colour row
// compares each pixel with the one to its right instead, so its last pixel becomes 128, 128,
// 128; a single gray row has nothing to compare with.
void Emboss(const Rows& b, const uint8_t* next) {
    if (next) {
        for (uint32_t r = 0; r + 1 < b.count; ++r) EmbossRows(b.row(r), b.row(r + 1), b.bytes);
        EmbossRows(b.row(b.count - 1), next, b.bytes);
    } else if (b.count >= 2) {
        for (uint32_t r = 0; r + 1 < b.count; ++r) EmbossRows(b.row(r), b.row(r + 1), b.bytes);
        std::memcpy(b.row(b.count - 1), b.row(b.count - 2), b.bytes);
    } else if (b.count == 1 && b.s == 3) {
        uint8_t* row = b.row(0);
        for (uint32_t x = 0; x + 3 < b.bytes; ++x)
            row[x] = ClampByte(int32_t(row[x]) - row[x + 3] + 128);
        std::memset(row + b.bytes - 3, 128, 3);
    }
}

}  // namespace

bool FilterSpooledRows(uint8_t* rows, uint32_t count, uint32_t rowBytes, RowKind kind,
                       uint16_t filterMode, const uint8_t* next) {
    if (!rows || count == 0 || rowBytes == 0) return true;
    const uint32_t s = kind == RowKind::Colour ? 3 : kind == RowKind::Deep ? 6 : 1;
    if (rowBytes % s != 0) return false;
    const Rows b{rows, count, rowBytes, s};
    if (kind == RowKind::Deep) {
        if (filterMode == kFilterInvert) InvertDeep(b);
        if (filterMode == kFilterFlip) Flip(b, kind, nullptr);
        return true;
    }
    const bool lineArt = kind == RowKind::LineArt;
    const bool needsCopy = (filterMode == kFilterFlip && lineArt) ||
                           (!lineArt && filterMode >= kFilterBlur && filterMode <= kFilterSharpenMore);
    ScratchBlock copy(needsCopy ? rowBytes : 0);
    if (needsCopy && !copy.ok()) return false;

    switch (filterMode) {
        case kFilterInvert: Invert(b); break;
        case kFilterFlip: Flip(b, kind, copy.data()); break;
        case kFilterBlur:
        case kFilterBlurMore:
            if (!lineArt) Horizontal(b, filterMode == kFilterBlur ? 1 : 5, copy.data(), BlurRow);
            break;
        case kFilterSharpen:
        case kFilterSharpenMore:
            if (!lineArt) Horizontal(b, filterMode == kFilterSharpen ? 1 : 2, copy.data(), SharpenRow);
            break;
        case kFilterEmboss:
            if (!lineArt) Emboss(b, next);
            break;
        default: break;  // none, unsharp mask (done on the bands), unknown values
    }
    return true;
}
