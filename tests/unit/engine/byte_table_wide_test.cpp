// The byte-permute lookup kernel directly: whole blocks only, nothing written past them, every
// byte through its own table (swapped or not), in place or not, against a plain lookup.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "engine/byte_table_wide.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Lookup(const Bytes& src, const uint8_t (&t)[3][256], bool swap) {
    Bytes out(src.size());
    for (size_t i = 0; i + 2 < src.size(); i += 3) {
        for (int k = 0; k < 3; ++k) out[i + k] = t[k][src[i + k]];
        if (swap) std::swap(out[i], out[i + 2]);
    }
    return out;
}

TEST(ByteTableWide, WholeBlocksThroughEachComponentsTable) {
    if (!HasWideByteTables()) GTEST_SKIP() << "no AVX-512 VBMI here";
    std::mt19937 random(11);
    uint8_t t[3][256];
    for (auto& table : t)
        for (auto& v : table) v = uint8_t(random());
    const uint8_t* const tables[3] = {t[0], t[1], t[2]};
    for (size_t pixels : {0, 1, 63, 64, 65, 128, 191, 700}) {
        Bytes src(3 * pixels);
        for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i < 768 ? i / 3 : random());
        for (bool swap : {false, true}) {
            const size_t blocks = pixels / 64 * 64;
            const Bytes expected = Lookup(src, t, swap);
            Bytes out(src.size(), 0xCD);
            ASSERT_EQ(LookupPixelsWide(tables, swap, pixels, out.data(), src.data()), blocks);
            Bytes inPlace = src;
            LookupPixelsWide(tables, swap, pixels, inPlace.data(), inPlace.data());
            for (size_t i = 0; i < src.size(); ++i) {
                const bool done = i < 3 * blocks;
                ASSERT_EQ(out[i], done ? expected[i] : 0xCD) << pixels << " swap " << swap << " @" << i;
                ASSERT_EQ(inPlace[i], done ? expected[i] : src[i]) << "in place @" << i;
            }
        }
    }
}

}  // namespace
