// Lines above 600 dpi: doubled, and thinned again below a 1200 dpi target, in every mode;
// never longer than the row the transfer announced.
#include <gtest/gtest.h>

#include "host_control.h"
#include "scaling_oracle.h"
#include "widen_line.h"

namespace {

class WidenLineTest : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreeWidenPlan(plan);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    // Widens through a fresh plan into a buffer of exactly `capacity` bytes followed by
    // guard bytes, which must stay untouched.
    Bytes Widen(SampleKind kind, const Bytes& line, uint32_t e, uint32_t r, uint32_t capacity) {
        EXPECT_TRUE(BuildWidenPlan(kind, uint32_t(line.size()), e, r, &plan));
        Bytes out(capacity + 16, 0xA5);
        const uint32_t written = WidenLine(plan, line.data(), out.data(), capacity);
        EXPECT_LE(written, capacity);
        for (size_t i = capacity; i < out.size(); ++i) EXPECT_EQ(out[i], 0xA5) << "guard " << i;
        out.resize(written);
        return out;
    }
    Bytes Widen(SampleKind kind, const Bytes& line, uint32_t e, uint32_t r) {
        return Widen(kind, line, e, r, 8 * uint32_t(line.size()) + 8);
    }
    WidenPlan plan;
};

TEST_F(WidenLineTest, AGrayLineIsDoubledWithMeansBetweenAndTheLastSampleRepeated) {
    EXPECT_EQ(Widen(SampleKind::Gray, {10, 20}, 1200, 600), (Bytes{10, 15, 20, 20}));
    EXPECT_EQ(Widen(SampleKind::Colour, {10, 20, 30, 13, 0, 255}, 2400, 1200),
              (Bytes{10, 20, 30, 11, 10, 142, 13, 0, 255, 13, 0, 255}));
    EXPECT_EQ(Widen(SampleKind::LineArt, {0xA5}, 1200, 600), (Bytes{0xCC, 0x33}));
}

TEST_F(WidenLineTest, TheTargetIsHalvedOnlyBetween1200And2400) {
    EXPECT_EQ(WidenTarget(700), 700u);
    EXPECT_EQ(WidenTarget(1200), 1200u);
    EXPECT_EQ(WidenTarget(1201), 600u);
    EXPECT_EQ(WidenTarget(2399), 1199u);
    EXPECT_EQ(WidenTarget(2400), 2400u);
}

TEST_F(WidenLineTest, EveryModeAndResolutionMatchesTheFormulaOnOddWidths) {
    const std::vector<std::pair<uint32_t, uint32_t>> resolutions = {
        {601, 600}, {700, 600}, {800, 400}, {900, 450}, {1000, 800}, {1199, 1199}, {1200, 600},
        {1201, 600}, {1600, 800}, {2000, 1000}, {2399, 1199}, {2400, 1200}, {4800, 1200},
        // Thinning periods of every length, and a scanner asked for more than 1200.
        {700, 37}, {900, 999}, {1100, 1}, {1500, 7}, {1000, 1300}};
    const std::vector<std::pair<SampleKind, uint32_t>> kinds = {
        {SampleKind::LineArt, 1}, {SampleKind::Gray, 1}, {SampleKind::Colour, 3}};
    for (auto [kind, step] : kinds)
        for (uint32_t pixels : {1u, 2u, 3u, 5u, 16u, 17u, 18u, 33u, 257u})
            for (auto [e, r] : resolutions) {
                SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " pixels " << pixels << " e " << e << " r " << r);
                const Bytes line = RandomBytes(pixels * step, pixels * 7 + e);
                EXPECT_EQ(Widen(kind, line, e, r), OracleWiden(int(kind), line, e, r));
                EXPECT_EQ(plan.outBytes, OracleWiden(int(kind), line, e, r).size());
            }
}

TEST_F(WidenLineTest, ALineNeverRunsPastTheAnnouncedRow) {
    for (auto [kind, e] : std::vector<std::pair<SampleKind, uint32_t>>{
             {SampleKind::Gray, 1200}, {SampleKind::Colour, 1200}, {SampleKind::Colour, 900},
             {SampleKind::LineArt, 1600}}) {
        const Bytes line = RandomBytes(3 * 41, e);
        const Bytes whole = OracleWiden(int(kind), line, e, 600);
        for (uint32_t capacity : {0u, 1u, 7u, uint32_t(whole.size()) - 1}) {
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " capacity " << capacity);
            EXPECT_EQ(Widen(kind, line, e, 600, capacity), Bytes(whole.begin(), whole.begin() + capacity));
        }
    }
}

TEST_F(WidenLineTest, AColourLinesStrayBytesAreLeftOut) {
    const Bytes line = {1, 2, 3, 5, 7, 9, 99};
    EXPECT_EQ(Widen(SampleKind::Colour, line, 1200, 600), (Bytes{1, 2, 3, 3, 4, 6, 5, 7, 9, 5, 7, 9}));
}

TEST_F(WidenLineTest, PlansThatCannotWidenAreRefused) {
    EXPECT_FALSE(BuildWidenPlan(SampleKind::Gray, 100, 600, 600, &plan));
    EXPECT_FALSE(BuildWidenPlan(SampleKind::Gray, 0, 1200, 600, &plan));
    EXPECT_FALSE(BuildWidenPlan(SampleKind::Colour, 2, 1200, 600, &plan));
    EXPECT_FALSE(BuildWidenPlan(SampleKind::Gray, 100, 800, 0, &plan));  // thinned by nothing
    EXPECT_TRUE(BuildWidenPlan(SampleKind::Gray, 100, 1200, 0, &plan));  // not thinned
    plat::host::FailAllocationAt(1);
    EXPECT_FALSE(BuildWidenPlan(SampleKind::Gray, 100, 1200, 600, &plan));
    Bytes out(8, 0xA5);
    const Bytes line(100, 1);
    EXPECT_EQ(WidenLine(plan, line.data(), out.data(), 8), 0u);
    EXPECT_EQ(out, Bytes(8, 0xA5));
}

// Long thinned lines go through the sixteen-byte gather where the processor has a byte
// shuffle: its chunks must hand over to the byte-by-byte end exactly, and a row cut anywhere
// near the end (inside the last chunks, inside a colour pixel) must stop at its last byte.
TEST_F(WidenLineTest, LongThinnedLinesMatchTheFormulaWhereverTheRowIsCut) {
    for (auto [kind, step] : std::vector<std::pair<SampleKind, uint32_t>>{
             {SampleKind::Gray, 1}, {SampleKind::Colour, 3}})
        for (auto [e, r] : std::vector<std::pair<uint32_t, uint32_t>>{
                 {800, 800}, {700, 700}, {1000, 1000}, {1199, 1199}, {1800, 900}, {900, 610}}) {
            const Bytes line = RandomBytes(1001 * step + (step == 3 ? 2 : 0), e + r);
            const Bytes whole = OracleWiden(int(kind), line, e, r);
            for (uint32_t cut = 0; cut <= 48; ++cut) {
                const uint32_t capacity = uint32_t(whole.size()) - cut;
                SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " e " << e << " r " << r
                                                << " capacity " << capacity);
                EXPECT_EQ(Widen(kind, line, e, r, capacity),
                          Bytes(whole.begin(), whole.begin() + capacity));
            }
        }
}

}  // namespace
