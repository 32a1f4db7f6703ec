#include "engine/row_flip.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<uint8_t, 256> MakeBitReversal() {
    std::array<uint8_t, 256> t{};
    for (unsigned v = 0; v < 256; ++v) {
        unsigned r = 0;
        for (unsigned b = 0; b < 8; ++b)
            if (v & (1u << b)) r |= 0x80u >> b;
        t[v] = uint8_t(r);
    }
    return t;
}
constexpr std::array<uint8_t, 256> kBitReversal = MakeBitReversal();

uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
void Store64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

// Byte order reversed eight bytes at a time from both ends towards the middle.
void FlipByteRow(uint8_t* row, uint32_t n) {
    uint32_t lo = 0, hi = n;
    while (hi - lo >= 16) {
        const uint64_t a = Load64(row + lo), b = Load64(row + hi - 8);
        Store64(row + lo, __builtin_bswap64(b));
        Store64(row + hi - 8, __builtin_bswap64(a));
        lo += 8;
        hi -= 8;
    }
    for (; hi - lo >= 2; ++lo, --hi) {
        const uint8_t t = row[lo];
        row[lo] = row[hi - 1];
        row[hi - 1] = t;
    }
}

uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// Four 3-byte pixels (12 bytes, little-endian words) in reverse order, each pixel's bytes
// kept: a few shifts instead of twelve single-byte moves.
struct Quad {
    uint64_t lo;  // bytes 0-7
    uint32_t hi;  // bytes 8-11
};
Quad LoadQuad(const uint8_t* p) { return {Load64(p), Load32(p + 8)}; }
void StoreQuad(uint8_t* p, Quad q) {
    Store64(p, q.lo);
    Store32(p + 8, q.hi);
}
Quad ReverseQuad(Quad q) {
    constexpr uint64_t kPixel = 0xFFFFFF;
    const uint64_t a = q.lo & kPixel, b = (q.lo >> 24) & kPixel;
    const uint64_t c = ((q.lo >> 48) | (uint64_t(q.hi) << 16)) & kPixel, d = q.hi >> 8;
    return {d | (c << 24) | (b << 48), uint32_t((b >> 16) | (a << 8))};
}

void FlipTripletRow(uint8_t* row, uint32_t pixels) {
    uint32_t lo = 0, hi = pixels;  // pixels [lo, hi) are still to be swapped
    // Eight pixels from each end per step: all four loads before any store, so the loads of
    // one step never wait for its own stores.
    while (hi - lo >= 16) {
        uint8_t* left = row + size_t(lo) * 3;
        uint8_t* right = row + size_t(hi - 8) * 3;
        const Quad l0 = LoadQuad(left), l1 = LoadQuad(left + 12);
        const Quad r0 = LoadQuad(right), r1 = LoadQuad(right + 12);
        StoreQuad(left, ReverseQuad(r1));
        StoreQuad(left + 12, ReverseQuad(r0));
        StoreQuad(right, ReverseQuad(l1));
        StoreQuad(right + 12, ReverseQuad(l0));
        lo += 8;
        hi -= 8;
    }
    while (hi - lo >= 8) {
        const Quad left = LoadQuad(row + size_t(lo) * 3);
        const Quad right = LoadQuad(row + size_t(hi - 4) * 3);
        StoreQuad(row + size_t(lo) * 3, ReverseQuad(right));
        StoreQuad(row + size_t(hi - 4) * 3, ReverseQuad(left));
        lo += 4;
        hi -= 4;
    }
    for (; hi - lo >= 2; ++lo, --hi) {
        uint8_t* a = row + size_t(lo) * 3;
        uint8_t* b = row + size_t(hi - 1) * 3;
        for (int k = 0; k < 3; ++k) {
            const uint8_t t = a[k];
            a[k] = b[k];
            b[k] = t;
        }
    }
}

}  // namespace

void FlipBitRow(uint8_t* row, uint32_t pixels, uint8_t* copy) {
    const uint32_t bytes = (pixels + 7) / 8;
    if (bytes == 0) return;
    const unsigned pad = (8 - pixels % 8) % 8;
    const uint8_t keptPadding = uint8_t(row[bytes - 1] & ((1u << pad) - 1));
    std::memcpy(copy, row, bytes);
    for (uint32_t i = 0; i < bytes; ++i) row[i] = kBitReversal[copy[bytes - 1 - i]];
    if (pad == 0) return;
    // The padding bits of the last byte came out in front: move the pixels up over them.
    for (uint32_t i = 0; i + 1 < bytes; ++i)
        row[i] = uint8_t((row[i] << pad) | (row[i + 1] >> (8 - pad)));
    row[bytes - 1] = uint8_t((row[bytes - 1] << pad) | keptPadding);
}

// Pixels of any other size (the six bytes of 36-bit colour) one pair at a time.
void FlipWidePixelRow(uint8_t* row, uint32_t pixels, uint32_t pixelBytes) {
    uint8_t t[16];
    for (uint32_t a = 0, b = pixels - 1; a < b; ++a, --b) {
        uint8_t* left = row + size_t(a) * pixelBytes;
        uint8_t* right = row + size_t(b) * pixelBytes;
        std::memcpy(t, left, pixelBytes);
        std::memcpy(left, right, pixelBytes);
        std::memcpy(right, t, pixelBytes);
    }
}

void FlipPixelRow(uint8_t* row, uint32_t pixels, uint32_t pixelBytes) {
    if (pixels < 2 || pixelBytes == 0 || pixelBytes > 16) return;
    if (pixelBytes == 1)
        FlipByteRow(row, pixels);
    else if (pixelBytes == 3)
        FlipTripletRow(row, pixels);
    else
        FlipWidePixelRow(row, pixels, pixelBytes);
}
