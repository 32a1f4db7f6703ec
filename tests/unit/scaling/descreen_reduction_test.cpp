// Descreen below 300 dpi: the keep/drop maps and the 3 x 3 mean at the kept places, whole
// and band by band.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/descreen_reduction.h"
#include "platform/host/host_control.h"
#include "tests/unit/scaling/scaling_oracle.h"

namespace {

std::vector<bool> MapOf(const uint8_t* map, uint32_t n) { return std::vector<bool>(map, map + n); }

// Reduces an image in bands of the given sizes (repeated), each band with room for one row
// more than it holds, and collects the kept rows.
Bytes ReduceInBands(DescreenDropMaps& m, const Bytes& image, const std::vector<uint32_t>& sizes) {
    Bytes out;
    uint32_t line = 0, expectedFirst = 0;
    for (size_t i = 0; line < m.lines; ++i) {
        const uint32_t rows = std::min(sizes[i % sizes.size()], m.lines - line);
        Bytes band(image.begin() + long(line) * m.lineBytes, image.begin() + long(line + rows) * m.lineBytes);
        band.resize(band.size() + m.lineBytes);
        const ReducedRows r = ReduceBand(m, band.data(), rows, rows + 1, line);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.firstLine, expectedFirst);
        expectedFirst += r.finished;
        out.insert(out.end(), band.begin(), band.begin() + long(r.kept) * m.keptBytes);
        line += rows;
    }
    EXPECT_EQ(expectedFirst, m.lines);
    return out;
}

class DescreenReduction : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreeDescreenDropMaps(maps);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    DescreenDropMaps maps;
};

TEST_F(DescreenReduction, At150DpiTheFirstTwoAreKeptThenEverySecond) {
    ASSERT_TRUE(BuildDescreenDropMaps(9, 7, 1, 150, &maps));
    EXPECT_EQ(MapOf(maps.columns, 9), (std::vector<bool>{1, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(MapOf(maps.rows, 7), (std::vector<bool>{1, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(maps.keptBytes, 5u);
    EXPECT_EQ(maps.keptLines, 4u);

    // Colour: the three bytes of a pixel share their entry; a partial pixel is dropped.
    ASSERT_TRUE(BuildDescreenDropMaps(3 * 5 + 2, 3, 3, 150, &maps));
    EXPECT_EQ(MapOf(maps.columns, 17),
              (std::vector<bool>{1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(maps.keptBytes, 9u);
}

TEST_F(DescreenReduction, MapsFollowTheAccumulatorAtEveryResolution) {
    for (uint32_t e : {1u, 50u, 72u, 100u, 150u, 200u, 299u}) {
        SCOPED_TRACE(e);
        ASSERT_TRUE(BuildDescreenDropMaps(301, 123, 1, e, &maps));
        EXPECT_EQ(MapOf(maps.columns, 301), OracleKeepMap(301, e));
        EXPECT_EQ(MapOf(maps.rows, 123), OracleKeepMap(123, e));
        const auto kept = OracleKeepMap(301, e);
        EXPECT_EQ(maps.keptBytes, uint32_t(std::count(kept.begin(), kept.end(), true)));
    }
}

TEST_F(DescreenReduction, ResolutionsThatNeedNoReductionAndOddSamplesAreRefused) {
    EXPECT_FALSE(BuildDescreenDropMaps(100, 10, 1, 0, &maps));
    EXPECT_FALSE(BuildDescreenDropMaps(100, 10, 1, 300, &maps));
    EXPECT_FALSE(BuildDescreenDropMaps(100, 10, 2, 150, &maps));
    EXPECT_FALSE(BuildDescreenDropMaps(2, 10, 3, 150, &maps));
    EXPECT_FALSE(BuildDescreenDropMaps(100, 0, 1, 150, &maps));
    plat::host::FailAllocationAt(1);
    EXPECT_FALSE(BuildDescreenDropMaps(100, 10, 1, 150, &maps));
    EXPECT_EQ(maps.block, nullptr);
}

TEST_F(DescreenReduction, OneBandGivesTheMeansOfTheWholeImage) {
    for (uint32_t s : {1u, 3u})
        for (auto [pixels, lines] : std::vector<std::pair<uint32_t, uint32_t>>{
                 {1, 1}, {1, 6}, {7, 1}, {2, 2}, {33, 9}, {101, 17}})
            for (uint32_t e : {75u, 150u, 200u, 299u}) {
                SCOPED_TRACE(testing::Message() << "s=" << s << " " << pixels << "x" << lines << " e=" << e);
                const uint32_t lineBytes = pixels * s;
                const Bytes image = RandomBytes(size_t(lineBytes) * lines, pixels * 31 + lines + e);
                ASSERT_TRUE(BuildDescreenDropMaps(lineBytes, lines, s, e, &maps));
                EXPECT_EQ(ReduceInBands(maps, image, {lines}), OracleReduce(image, lineBytes, lines, s, e));
            }
}

TEST_F(DescreenReduction, BandsOfAnySizeGiveWhatOneBandGives) {
    const std::vector<std::vector<uint32_t>> splits = {{1}, {2}, {3, 1}, {5, 2, 7}, {16}};
    for (uint32_t s : {1u, 3u})
        for (const auto& split : splits) {
            SCOPED_TRACE(testing::Message() << "s=" << s << " first band " << split[0]);
            const uint32_t lineBytes = 41 * s, lines = 29;
            const Bytes image = RandomBytes(size_t(lineBytes) * lines, split[0] + s);
            ASSERT_TRUE(BuildDescreenDropMaps(lineBytes, lines, s, 150, &maps));
            EXPECT_EQ(ReduceInBands(maps, image, split), OracleReduce(image, lineBytes, lines, s, 150));
        }
}

TEST_F(DescreenReduction, AColourLineWithAPartialPixelIgnoresIt) {
    const uint32_t lineBytes = 3 * 10 + 1, lines = 5;
    Bytes image = RandomBytes(size_t(lineBytes) * lines, 5);
    ASSERT_TRUE(BuildDescreenDropMaps(lineBytes, lines, 3, 200, &maps));
    Bytes whole;  // the same pixels without the stray byte
    for (uint32_t r = 0; r < lines; ++r)
        whole.insert(whole.end(), image.begin() + long(r) * lineBytes, image.begin() + long(r) * lineBytes + 30);
    EXPECT_EQ(ReduceInBands(maps, image, {2}), OracleReduce(whole, 30, lines, 3, 200));
}

TEST_F(DescreenReduction, ABandThatDoesNotContinueTheImageIsRefused) {
    ASSERT_TRUE(BuildDescreenDropMaps(8, 10, 1, 150, &maps));
    Bytes band(8 * 5, 7);
    EXPECT_FALSE(ReduceBand(maps, band.data(), 4, 5, 3).ok);  // a gap at the start
    ASSERT_TRUE(ReduceBand(maps, band.data(), 4, 5, 0).ok);
    EXPECT_FALSE(ReduceBand(maps, band.data(), 2, 3, 5).ok);  // a gap after line 3
    EXPECT_FALSE(ReduceBand(maps, band.data(), 3, 4, 2).ok);  // repeats lines 2 and 3
    EXPECT_FALSE(ReduceBand(maps, band.data(), 7, 8, 4).ok);  // past the last line
    EXPECT_TRUE(ReduceBand(maps, band.data(), 4, 5, 0).ok);   // line 0 starts over
}

TEST_F(DescreenReduction, TheLastBandNeedsRoomForTheRowItFinishesExtra) {
    // Every line and column kept: the band holding the last line gives back one row more
    // than it received, which must fit its buffer.
    ASSERT_TRUE(BuildDescreenDropMaps(300, 4, 1, 299, &maps));
    ASSERT_EQ(maps.keptLines, 4u);
    Bytes band(300 * 3, 1);
    ASSERT_TRUE(ReduceBand(maps, band.data(), 2, 2, 0).ok);
    EXPECT_FALSE(ReduceBand(maps, band.data(), 2, 2, 2).ok);
    EXPECT_TRUE(ReduceBand(maps, band.data(), 2, 3, 2).ok);
}

}  // namespace
