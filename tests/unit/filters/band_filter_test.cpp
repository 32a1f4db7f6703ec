// The band filters of memory and file transfers: the weighted 3 x 3 over bands with its
// history sets, and the filters over rows read back from a spool file.
#include <gtest/gtest.h>

#include <random>

#include "engine/convolve_band.h"
#include "engine/native_filters.h"
#include "engine/spooled_row_filters.h"
#include "platform/host/host_control.h"
#include "tests/unit/filters/filter_oracle.h"
#include "tests/unit/filters/test_images.h"

namespace {

struct Weights {
    const char* name;
    ConvolveWeights w;
};
const std::vector<Weights> kAllWeights = {
    {"unsharp mask", kUnsharpMaskWeights},
    {"descreen 1018", {0, 1, 3}},
    {"descreen 1019", {1, 3, 5}},
    {"descreen 1020", {3, 5, 7}},
    // Sums beyond 16 bits, with a reciprocal and with plain division.
    {"wide sums", {-30, 0, 200}},
    {"wider sums", {100, 50, 10}},
};

// Runs an image through ConvolveBand in bands of the given sizes (repeated as needed) and
// collects the rows it gives back, checking that they come in order.
Grid ConvolveInBands(const Grid& g, const ConvolveWeights& w, const std::vector<int>& sizes,
                     int historySet = 0) {
    const BandShape shape{uint32_t(g.w * g.s), uint32_t(g.s), uint32_t(g.h)};
    const std::vector<uint8_t> image = GridBytes(g);
    std::vector<uint8_t> out;
    uint32_t line = 0, expectedOut = 0;
    for (size_t i = 0; line < uint32_t(g.h); ++i) {
        const uint32_t rows = std::min<uint32_t>(uint32_t(sizes[i % sizes.size()]), g.h - line);
        std::vector<uint8_t> band(image.begin() + long(line * shape.rowBytes),
                                  image.begin() + long((line + rows) * shape.rowBytes));
        band.resize(band.size() + shape.rowBytes);  // the room for one more row
        const ConvolvedRows done = ConvolveBand(band.data(), rows, rows + 1, shape, line, w, historySet);
        EXPECT_EQ(done.firstLine, expectedOut);
        out.insert(out.end(), band.begin(), band.begin() + long(done.rows * shape.rowBytes));
        expectedOut += done.rows;
        line += rows;
    }
    EXPECT_EQ(expectedOut, uint32_t(g.h));
    return BytesGrid(out, g.w, g.h, g.s);
}

TEST(ConvolveBand, OneBandMatchesTheFormulaForEveryWeightSet) {
    std::mt19937 rng(21);
    for (const Weights& w : kAllWeights)
        for (int s : {1, 3})
            for (auto [width, height] : std::vector<std::pair<int, int>>{
                     {1, 1}, {1, 5}, {5, 1}, {2, 2}, {7, 2}, {31, 9}, {100, 3}}) {
                SCOPED_TRACE(testing::Message() << w.name << " s=" << s << " " << width << "x" << height);
                const Grid g = RandomGrid(width, height, s, rng);
                EXPECT_EQ(ConvolveInBands(g, w.w, {height}), OracleConvolve(g, w.w.corner, w.w.edge, w.w.centre));
            }
    FreeConvolveHistories();
}

TEST(ConvolveBand, BandsOfAnySizeGiveWhatOneBandGives) {
    std::mt19937 rng(22);
    const std::vector<std::vector<int>> splits = {{1}, {2}, {3}, {1, 4}, {5, 1, 2}, {7}, {16}};
    for (int s : {1, 3})
        for (const auto& split : splits) {
            SCOPED_TRACE(testing::Message() << "s=" << s << " first band " << split[0]);
            const Grid g = RandomGrid(23, 17, s, rng);
            const ConvolveWeights w{1, 3, 5};
            EXPECT_EQ(ConvolveInBands(g, w, split), OracleConvolve(g, 1, 3, 5));
        }
    FreeConvolveHistories();
}

TEST(ConvolveBand, TheTwoHistorySetsRunUnsharpThenDescreenOverTheSameBands) {
    std::mt19937 rng(23);
    const Grid g = RandomGrid(19, 14, 3, rng);
    const BandShape shape{uint32_t(g.w * 3), 3, uint32_t(g.h)};
    const std::vector<uint8_t> image = GridBytes(g);
    std::vector<uint8_t> out;
    const uint32_t bandRows = 4;
    for (uint32_t line = 0; line < uint32_t(g.h); line += bandRows) {
        const uint32_t rows = std::min(bandRows, g.h - line);
        std::vector<uint8_t> band(image.begin() + long(line * shape.rowBytes),
                                  image.begin() + long((line + rows) * shape.rowBytes));
        band.resize(band.size() + 2 * shape.rowBytes);  // each stage may add a row
        const ConvolvedRows sharp = ConvolveBand(band.data(), rows, rows + 2, shape, line, kUnsharpMaskWeights, 0);
        const ConvolvedRows smooth = ConvolveBand(band.data(), sharp.rows, rows + 2, shape,
                                                  sharp.firstLine, {3, 5, 7}, 1);
        out.insert(out.end(), band.begin(), band.begin() + long(smooth.rows * shape.rowBytes));
    }
    EXPECT_EQ(BytesGrid(out, g.w, g.h, 3), OracleConvolve(OracleConvolve(g, -5, -1, 29), 3, 5, 7));
    FreeConvolveHistories();
}

TEST(ConvolveBand, DescreenStrengthsAndTheirDivisors) {
    ConvolveWeights w;
    EXPECT_FALSE(DescreenWeights(1017, &w));
    // A single bright sample in a dark 3 x 3 image shows the weights one by one: its own
    // place gets centre x 255 / divisor, its edge neighbours edge x 255 / divisor, its corners
    // corner x 255 / divisor.
    struct Expect { uint16_t deScreen; int centre, edge, corner; };
    for (const Expect& e : {Expect{1018, 3 * 255 / 7, 255 / 7, 0}, Expect{1019, 5 * 255 / 21, 3 * 255 / 21, 255 / 21},
                            Expect{1020, 7 * 255 / 39, 5 * 255 / 39, 3 * 255 / 39}}) {
        ASSERT_TRUE(DescreenWeights(e.deScreen, &w));
        std::vector<uint8_t> band(4 * 3, 0);
        band[4] = 255;
        const ConvolvedRows done = ConvolveBand(band.data(), 3, 4, {3, 1, 3}, 0, w, 1);
        ASSERT_EQ(done.rows, 3u);
        EXPECT_EQ(band[4], e.centre) << e.deScreen;
        EXPECT_EQ(band[1], e.edge) << e.deScreen;
        EXPECT_EQ(band[0], e.corner) << e.deScreen;
    }
    // Unsharp mask: 29 x 255 / 5 clamps to 255, the corners (-5 x 255) to 0.
    std::vector<uint8_t> band(4 * 3, 0);
    band[4] = 255;
    ConvolveBand(band.data(), 3, 4, {3, 1, 3}, 0, kUnsharpMaskWeights, 0);
    EXPECT_EQ(band[4], 255);
    EXPECT_EQ(band[0], 0);
    // Every set keeps a flat area flat: the weights add up to the divisor.
    for (const Weights& k : kAllWeights)
        EXPECT_EQ(ConvolveInBands(FlatGrid(6, 5, 1, 90), k.w, {2}), FlatGrid(6, 5, 1, 90)) << k.name;
    FreeConvolveHistories();
}

TEST(ConvolveBand, BandsThatBreakTheSequencePassThroughUnchanged) {
    std::mt19937 rng(24);
    const Grid g = RandomGrid(8, 6, 1, rng);
    const BandShape shape{8, 1, 6};
    std::vector<uint8_t> band = GridBytes(g);
    band.resize(band.size() + 8);
    const std::vector<uint8_t> original = band;
    // No room for the extra row the last band gives back.
    ConvolvedRows r = ConvolveBand(band.data(), 3, 3, shape, 0, {0, 1, 3}, 0);
    EXPECT_EQ(r.rows, 2u);
    band = original;
    r = ConvolveBand(band.data(), 3, 3, shape, 3, {0, 1, 3}, 0);
    EXPECT_EQ(r.rows, 3u);
    EXPECT_EQ(band, original);
    // A band that skips lines, and the bands after it until line 0 comes again.
    ConvolveBand(band.data(), 2, 3, shape, 0, {0, 1, 3}, 0);
    band = original;
    r = ConvolveBand(band.data(), 2, 3, shape, 3, {0, 1, 3}, 0);
    EXPECT_EQ(r.firstLine, 3u);
    EXPECT_EQ(band, original);
    r = ConvolveBand(band.data(), 2, 3, shape, 2, {0, 1, 3}, 0);
    EXPECT_EQ(band, original);
    // Unusable shapes and weights, an unknown history set.
    for (const BandShape& bad : {BandShape{8, 2, 6}, BandShape{7, 3, 6}, BandShape{0, 1, 6}, BandShape{8, 1, 0}})
        EXPECT_EQ(ConvolveBand(band.data(), 6, 7, bad, 0, {0, 1, 3}, 0).rows, 6u);
    EXPECT_EQ(ConvolveBand(band.data(), 6, 7, shape, 0, {1, -1, 0}, 0).rows, 6u);  // divisor 0
    EXPECT_EQ(ConvolveBand(band.data(), 6, 7, shape, 0, {0, 1, 3}, 2).rows, 6u);
    EXPECT_EQ(band, original);
    // No memory for the history rows.
    FreeConvolveHistories();
    plat::host::FailAllocationAt(1);
    EXPECT_EQ(ConvolveBand(band.data(), 6, 7, shape, 0, {0, 1, 3}, 0).rows, 6u);
    EXPECT_EQ(band, original);
    plat::host::FailAllocationAt(0);
    FreeConvolveHistories();
}

// Rows read back from a spool file.
Grid Spooled(const Grid& g, uint16_t mode) {
    std::vector<uint8_t> rows = GridBytes(g);
    EXPECT_TRUE(FilterSpooledRows(rows.data(), uint32_t(g.h), uint32_t(g.w * g.s),
                                  g.s == 3 ? RowKind::Colour : RowKind::Gray, mode));
    return BytesGrid(rows, g.w, g.h, g.s);
}

TEST(FilterSpooledRows, GrayAndColourMatchTheirFormulas) {
    std::mt19937 rng(25);
    for (int s : {1, 3})
        for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 4}, {3, 2}, {33, 5}, {64, 1}, {101, 3}}) {
            SCOPED_TRACE(testing::Message() << "s=" << s << " " << w << "x" << h);
            const Grid g = RandomGrid(w, h, s, rng);
            Grid inverted = g;
            for (int& v : inverted.v) v = 255 - v;
            EXPECT_EQ(Spooled(g, kFilterInvert), inverted);
            EXPECT_EQ(Spooled(g, kFilterFlip), OracleFlip(g));
            EXPECT_EQ(Spooled(g, kFilterBlur), OracleRowBlur(g, 1));
            EXPECT_EQ(Spooled(g, kFilterBlurMore), OracleRowBlur(g, 5));
            EXPECT_EQ(Spooled(g, kFilterSharpen), OracleRowSharpen(g, 1));
            EXPECT_EQ(Spooled(g, kFilterSharpenMore), OracleRowSharpen(g, 2));
            EXPECT_EQ(Spooled(g, kFilterEmboss), OracleRowEmboss(g));
            for (uint16_t none : {kFilterNone, kFilterUnsharpMask, uint16_t(9)}) EXPECT_EQ(Spooled(g, none), g);
        }
}

TEST(FilterSpooledRows, EdgeCases) {
    // A single colour row embosses against the pixel to its right; the last pixel has none.
    const Grid row{3, 1, 3, {200, 100, 50, 10, 120, 60, 30, 40, 250}};
    EXPECT_EQ(Spooled(row, kFilterEmboss), (Grid{3, 1, 3, {255, 108, 118, 108, 208, 0, 128, 128, 128}}));
    // Flip twice restores, blur and sharpen keep a flat row.
    std::mt19937 rng(26);
    const Grid g = RandomGrid(17, 3, 3, rng);
    EXPECT_EQ(Spooled(Spooled(g, kFilterFlip), kFilterFlip), g);
    for (uint16_t mode : {kFilterBlur, kFilterBlurMore, kFilterSharpen, kFilterSharpenMore})
        EXPECT_EQ(Spooled(FlatGrid(9, 2, 1, 33), mode), FlatGrid(9, 2, 1, 33)) << mode;
}

TEST(FilterSpooledRows, LineArtTakesInvertAndFlipOnly) {
    std::vector<uint8_t> rows = {0x80, 0x01, 0xF0, 0x0F, 0x12, 0x34};  // 3 rows of 2 bytes
    const std::vector<uint8_t> original = rows;
    ASSERT_TRUE(FilterSpooledRows(rows.data(), 3, 2, RowKind::LineArt, kFilterFlip));
    EXPECT_EQ(rows, (std::vector<uint8_t>{0x80, 0x01, 0xF0, 0x0F, 0x2C, 0x48}));
    ASSERT_TRUE(FilterSpooledRows(rows.data(), 3, 2, RowKind::LineArt, kFilterInvert));
    EXPECT_EQ(rows, (std::vector<uint8_t>{0x7F, 0xFE, 0x0F, 0xF0, 0xD3, 0xB7}));
    rows = original;
    for (uint16_t mode = kFilterBlur; mode <= kFilterUnsharpMask; ++mode) {
        ASSERT_TRUE(FilterSpooledRows(rows.data(), 3, 2, RowKind::LineArt, mode));
        EXPECT_EQ(rows, original) << mode;
    }
}

TEST(FilterSpooledRows, RowsLeftAsTheyWereWhenTheyCannotBeFiltered) {
    std::vector<uint8_t> rows(10, 7);
    EXPECT_FALSE(FilterSpooledRows(rows.data(), 2, 5, RowKind::Colour, kFilterBlur));  // not whole pixels
    plat::host::FailAllocationAt(1);
    EXPECT_FALSE(FilterSpooledRows(rows.data(), 2, 5, RowKind::Gray, kFilterSharpen));
    plat::host::FailAllocationAt(0);
    EXPECT_EQ(rows, std::vector<uint8_t>(10, 7));
}

}  // namespace
