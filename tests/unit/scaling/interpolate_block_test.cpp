// Scans above the optical resolution: blocks of lines enlarged 2, 4, 6 or 8 times in both directions,
// continuous from block to block.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/interpolate_block.h"
#include "platform/host/host_control.h"
#include "tests/unit/scaling/scaling_oracle.h"

namespace {

class InterpolateBlockTest : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        EndInterpolation(state);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    // The image in blocks of the given sizes (repeated), rows of rowBytes (0: exactly the
    // enlarged line), each block's output followed by guard bytes that must stay untouched.
    Bytes InBlocks(SampleKind kind, const Bytes& image, uint32_t lineBytes, uint32_t factor,
                   const std::vector<uint32_t>& sizes, uint32_t rowBytes = 0) {
        EXPECT_TRUE(BeginInterpolation(kind, lineBytes, factor, &state));
        const uint32_t f = state.factor, lines = uint32_t(image.size() / lineBytes);
        if (rowBytes == 0) rowBytes = f * lineBytes;
        Bytes out;
        for (uint32_t line = 0, i = 0; line < lines; ++i) {
            const uint32_t count = std::min(sizes[i % sizes.size()], lines - line);
            Bytes rows(size_t(count) * f * rowBytes + 32, 0xA5);
            EXPECT_TRUE(InterpolateBlock(state, image.data() + size_t(line) * lineBytes, count, rows.data(), rowBytes));
            for (size_t g = rows.size() - 32; g < rows.size(); ++g) EXPECT_EQ(rows[g], 0xA5);
            out.insert(out.end(), rows.begin(), rows.end() - 32);
            line += count;
        }
        return out;
    }
    InterpolationState state;
};

TEST_F(InterpolateBlockTest, GrayCellsAtFactorTwo) {
    // Two lines p = (10, 20), d = (30, 40): the first block keeps its own first row in
    // advance, so line 0 pairs with itself and line 1 with line 0.
    const Bytes image = {10, 20, 30, 40};
    EXPECT_EQ(InBlocks(SampleKind::Gray, image, 2, 2, {2}),
              (Bytes{10, 15, 20, 20,    // p = 10, q = 20; the last column is p
                     10, 15, 20, 20,    // d = p, e = q
                     10, 15, 20, 20,    //
                     20, 25, 20, 20})); // (10 + 30) >> 1, (10 + 40) >> 1
}

TEST_F(InterpolateBlockTest, EveryKindAndFactorMatchesTheFormulaOnOddWidths) {
    const std::vector<std::pair<SampleKind, uint32_t>> kinds = {
        {SampleKind::LineArt, 1}, {SampleKind::Gray, 1}, {SampleKind::Colour, 3}};
    for (auto [kind, step] : kinds)
        for (uint32_t factor : {2u, 4u, 6u, 8u})
            for (uint32_t pixels : {1u, 2u, 5u, 17u, 18u, 33u, 100u}) {
                SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " factor " << factor << " pixels " << pixels);
                const uint32_t lineBytes = pixels * step, lines = 7;
                const Bytes image = RandomBytes(size_t(lineBytes) * lines, pixels + factor);
                EXPECT_EQ(InBlocks(kind, image, lineBytes, factor, {lines}),
                          OracleInterpolate(int(kind), image, lineBytes, lines, factor));
            }
}

TEST_F(InterpolateBlockTest, BlocksOfAnySizeGiveWhatOneBlockGives) {
    for (SampleKind kind : {SampleKind::Gray, SampleKind::Colour})
        for (uint32_t factor : {2u, 6u})
            for (const auto& split : std::vector<std::vector<uint32_t>>{{1}, {2, 1}, {3, 5}}) {
                SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " factor " << factor << " first block " << split[0]);
                const uint32_t lineBytes = 3 * 19, lines = 11;
                const Bytes image = RandomBytes(size_t(lineBytes) * lines, split[0] + factor);
                EXPECT_EQ(InBlocks(kind, image, lineBytes, factor, split),
                          OracleInterpolate(int(kind), image, lineBytes, lines, factor));
            }
}

TEST_F(InterpolateBlockTest, ASingleRowBlockPairsTheKeptRowWithItsRow) {
    ASSERT_TRUE(BeginInterpolation(SampleKind::Gray, 2, 2, &state));
    const Bytes first = {10, 20, 100, 200};  // a two-line block keeps (100, 200)
    Bytes rows(8 * 2);
    ASSERT_TRUE(InterpolateBlock(state, first.data(), 2, rows.data(), 4));
    const Bytes single = {0, 50};
    Bytes out(4 * 2);
    ASSERT_TRUE(InterpolateBlock(state, single.data(), 1, out.data(), 4));
    EXPECT_EQ(out, (Bytes{100, 150, 200, 200, 50, 75, 200, 200}));
    // And the single row is kept for the next block in turn.
    ASSERT_TRUE(InterpolateBlock(state, single.data(), 1, out.data(), 4));
    EXPECT_EQ(out, (Bytes{0, 25, 50, 50, 0, 25, 50, 50}));
}

TEST_F(InterpolateBlockTest, RowsShorterThanTheEnlargedLineAreCutLongerOnesPadded) {
    const uint32_t lineBytes = 3 * 9, lines = 4;
    const Bytes image = RandomBytes(size_t(lineBytes) * lines, 3);
    const Bytes whole = OracleInterpolate(2, image, lineBytes, lines, 2);
    for (uint32_t rowBytes : {1u, 50u, 2 * lineBytes + 5}) {
        SCOPED_TRACE(rowBytes);
        Bytes expected;
        for (size_t r = 0; r < whole.size() / (2 * lineBytes); ++r) {
            Bytes row(whole.begin() + long(r * 2 * lineBytes), whole.begin() + long((r + 1) * 2 * lineBytes));
            row.resize(rowBytes, 0);
            expected.insert(expected.end(), row.begin(), row.end());
        }
        EXPECT_EQ(InBlocks(SampleKind::Colour, image, lineBytes, 2, {3}, rowBytes), expected);
    }
}

TEST_F(InterpolateBlockTest, NothingIsWrittenWithoutAPreparedState) {
    const Bytes line(9, 1);
    Bytes rows(36, 0xA5);
    EXPECT_FALSE(InterpolateBlock(state, line.data(), 1, rows.data(), 18));
    EXPECT_FALSE(BeginInterpolation(SampleKind::Colour, 2, 2, &state));
    for (uint32_t factor : {0u, 1u, 3u, 10u}) EXPECT_FALSE(BeginInterpolation(SampleKind::Gray, 9, factor, &state));
    plat::host::FailAllocationAt(1);
    EXPECT_FALSE(BeginInterpolation(SampleKind::Gray, 9, 2, &state));
    EXPECT_FALSE(InterpolateBlock(state, line.data(), 1, rows.data(), 18));
    EXPECT_EQ(rows, Bytes(36, 0xA5));
}

}  // namespace
