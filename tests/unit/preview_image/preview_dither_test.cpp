// The 8-bit conversion of long rows at every phase of the dither matrix, against the rounding
// written out from its definition: whichever kernel the processor gets must give these indexes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "window/preview_dither.h"

namespace {

using Bytes = std::vector<uint8_t>;

int Rounded(int v, int d, int step) {
    const int r = (v + d) / step * step + step / 2 - d;
    return r < 0 ? 0 : (r > 255 ? 255 : r);
}

uint8_t DitheredIndex(const uint8_t* bgr, int d) {
    return uint8_t((Rounded(bgr[2], d, 32) >> 5 << 5) | (Rounded(bgr[1], d, 32) >> 5 << 2) |
                   (Rounded(bgr[0], d, 64) >> 6));
}

// Every value in every component somewhere in the first 256 pixels, then noise.
Bytes Row(size_t pixels, std::mt19937& random) {
    Bytes row(3 * pixels);
    for (size_t i = 0; i < pixels; ++i)
        for (int k = 0; k < 3; ++k)
            row[3 * i + k] = i < 256 ? uint8_t(i * (k + 1) * 77 + k) : uint8_t(random());
    return row;
}

TEST(PreviewConversion, LongRowsAtEveryMatrixPhase) {
    std::mt19937 random(5);
    for (uint32_t pixels : {1u, 9u, 64u, 71u, 300u, 702u})
        for (uint32_t x0 : {0u, 5u, 512u})
            for (uint32_t y = 0; y < 8; ++y) {
                const Bytes row = Row(pixels, random);
                Bytes out(pixels + 1, 0xCD);
                DitherRowToIndexes(row.data(), pixels, x0, y + 8, out.data());
                for (uint32_t x = 0; x < pixels; ++x)
                    ASSERT_EQ(out[x], DitheredIndex(&row[3 * x], kBayer8[y][(x0 + x) & 7]))
                        << pixels << " pixels from " << x0 << ", row " << y << ", pixel " << x;
                ASSERT_EQ(out[pixels], 0xCD);
            }
}

TEST(PreviewConversion, GrayIsTheMeanOfEverySum) {
    // Sums 0 to 765, each as three bytes.
    Bytes row;
    for (int s = 0; s <= 765; ++s) row.insert(row.end(), {uint8_t(s / 3), uint8_t((s + 1) / 3),
                                                          uint8_t((s + 2) / 3)});
    const uint32_t pixels = uint32_t(row.size() / 3);
    Bytes out(pixels + 1, 0xCD);
    GrayRowToIndexes(row.data(), pixels, out.data());
    for (uint32_t s = 0; s < pixels; ++s) ASSERT_EQ(out[s], s / 3) << "sum " << s;
    ASSERT_EQ(out[pixels], 0xCD);
}

}  // namespace
