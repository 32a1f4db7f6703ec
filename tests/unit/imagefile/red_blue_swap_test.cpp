#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/red_blue_swap.h"

namespace {

using Swap = void (*)(const uint8_t*, uint8_t*, uint32_t);

// Pixels whose three bytes all differ from each other and from their neighbours', so a byte
// taken from the wrong slot or the wrong pixel shows.
std::vector<uint8_t> Pixels(uint32_t count) {
    std::vector<uint8_t> v(size_t(count) * 3);
    for (size_t i = 0; i < v.size(); ++i) v[i] = uint8_t(i * 7 + 3);
    return v;
}

// The source is exactly the pixels' size (a read past it is caught under AddressSanitizer);
// the destination carries guard bytes after the pixels that must stay untouched.
void ExpectSameAsPlain(Swap swap, uint32_t pixels) {
    SCOPED_TRACE(pixels);
    const std::vector<uint8_t> src = Pixels(pixels);
    std::vector<uint8_t> expected(src.size() + 16, 0xEE), actual(src.size() + 16, 0xEE);
    SwapRedBluePlain(src.data(), expected.data(), pixels);
    swap(src.data(), actual.data(), pixels);
    EXPECT_EQ(actual, expected);
}

TEST(RedBlueSwap, PlainLoopStoresBlueGreenRed) {
    const std::vector<uint8_t> src = {1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> dst(6);
    SwapRedBluePlain(src.data(), dst.data(), 2);
    EXPECT_EQ(dst, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
}

// Every width up to a few vector groups covers each way a row can end: inside the first
// pixel, just short of a group, exactly at a group's end and the leftovers after it.
TEST(RedBlueSwap, VectorPathsMatchThePlainLoopAtEveryShortWidth) {
    for (Swap swap : {Swap(SwapRedBlueSse2), Swap(SwapRedBlue)})
        for (uint32_t pixels = 0; pixels <= 70; ++pixels) ExpectSameAsPlain(swap, pixels);
}

TEST(RedBlueSwap, VectorPathsMatchThePlainLoopOnPageWidths) {
    // Odd and even widths of scanned pages: A4 and A3 at 300 and 600 dpi, and a prime.
    for (Swap swap : {Swap(SwapRedBlueSse2), Swap(SwapRedBlue)})
        for (uint32_t pixels : {2480u, 3507u, 4961u, 7014u, 7019u}) ExpectSameAsPlain(swap, pixels);
}

TEST(RedBlueSwap, UnalignedRowsGiveTheSameBytes) {
    // Rows of a band start anywhere in the delivered lines; the staging rows too.
    const std::vector<uint8_t> src = Pixels(101);
    for (uint32_t offset = 1; offset < 4; ++offset) {
        SCOPED_TRACE(offset);
        std::vector<uint8_t> shifted(offset, 0), expected(src.size()), actual(src.size() + offset);
        shifted.insert(shifted.end(), src.begin(), src.end());
        SwapRedBluePlain(src.data(), expected.data(), 101);
        SwapRedBlue(shifted.data() + offset, actual.data() + offset, 101);
        EXPECT_EQ(std::vector<uint8_t>(actual.begin() + offset, actual.end()), expected);
    }
}

// In place: the exact pixel count in a block of its own (a read or write past it shows under
// AddressSanitizer), every way a count ends against the sixteen-pixel groups, and offsets
// that leave the groups unaligned.
TEST(RedBlueSwap, InPlaceMatchesThePlainLoop) {
    for (uint32_t pixels = 0; pixels <= 70; ++pixels)
        for (uint32_t offset : {0u, 1u, 3u}) {
            SCOPED_TRACE(testing::Message() << pixels << " pixels at offset " << offset);
            const std::vector<uint8_t> src = Pixels(pixels);
            std::vector<uint8_t> expected(src.size()), block(offset, 0x11);
            block.insert(block.end(), src.begin(), src.end());
            SwapRedBluePlain(src.data(), expected.data(), pixels);
            SwapRedBlueInPlace(block.data() + offset, pixels);
            EXPECT_EQ(std::vector<uint8_t>(block.begin() + offset, block.end()), expected);
            EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + offset),
                      std::vector<uint8_t>(offset, 0x11));
        }
}

}  // namespace
