// Enlargement above the optical resolution: interpolated lines thinned to the effective
// resolution when k x A overshoots it, the same whatever the blocks and the row order.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/enlarge_lines.h"
#include "platform/host/host_control.h"
#include "tests/unit/scaling/scaling_oracle.h"

namespace {

ResolutionPlan Plan(uint32_t effective, uint16_t asked, uint32_t factor) {
    ResolutionPlan plan;
    plan.effective = effective;
    plan.asked = asked;
    plan.factor = factor;
    return plan;
}

class EnlargeLinesTest : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        EndEnlargement(e);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    // The image in blocks of the given sizes into rows of rowBytes; bottomUp writes every
    // block's rows at falling addresses, as into a bitmap, and turns them back afterwards.
    Bytes InBlocks(SampleKind kind, const Bytes& image, uint32_t lineBytes, const ResolutionPlan& plan,
                   uint32_t rowBytes, const std::vector<uint32_t>& sizes, bool bottomUp = false) {
        EXPECT_TRUE(BeginEnlargement(kind, lineBytes, plan, rowBytes, &e));
        const uint32_t lines = uint32_t(image.size() / lineBytes);
        Bytes out;
        for (uint32_t line = 0, i = 0; line < lines; ++i) {
            const uint32_t count = std::min(sizes[i % sizes.size()], lines - line);
            Bytes rows(size_t(count) * plan.factor * rowBytes, 0xA5);
            uint32_t written = 0;
            uint8_t* first = bottomUp ? rows.data() + rows.size() - rowBytes : rows.data();
            EXPECT_TRUE(EnlargeLines(e, image.data() + size_t(line) * lineBytes, count, first,
                                     bottomUp ? -int64_t(rowBytes) : int64_t(rowBytes), &written));
            EXPECT_LE(written, count * plan.factor);
            for (uint32_t r = 0; r < written; ++r) {
                const size_t at = bottomUp ? rows.size() - size_t(r + 1) * rowBytes : size_t(r) * rowBytes;
                out.insert(out.end(), rows.begin() + long(at), rows.begin() + long(at + rowBytes));
            }
            line += count;
        }
        return out;
    }
    Bytes Expected(int kind, const Bytes& image, uint32_t lineBytes, const ResolutionPlan& plan,
                   uint32_t rowBytes, uint32_t* rows) {
        const uint32_t lines = uint32_t(image.size() / lineBytes);
        const Bytes big = OracleInterpolate(kind, image, lineBytes, lines, plan.factor);
        uint32_t keptBytes = 0;
        const Bytes thin = OracleThin(kind, big, lineBytes * plan.factor, lines * plan.factor,
                                      plan.factor * plan.asked, plan.effective, &keptBytes, rows);
        Bytes out;
        for (uint32_t r = 0; r < *rows; ++r) {
            Bytes row(thin.begin() + long(r * keptBytes), thin.begin() + long((r + 1) * keptBytes));
            row.resize(rowBytes, 0);
            out.insert(out.end(), row.begin(), row.end());
        }
        return out;
    }
    Enlargement e;
};

// 1575 dpi from 788 enlarged twice: 1576 thinned to 1575; 1500 from 750 x 2 exactly; 2000
// from 500 x 4 on the 600 dpi model; 1201 from 601 x 2.
TEST_F(EnlargeLinesTest, EveryKindThinnedToTheEffectiveResolution) {
    const std::vector<std::pair<SampleKind, uint32_t>> kinds = {
        {SampleKind::LineArt, 1}, {SampleKind::Gray, 1}, {SampleKind::Colour, 3}};
    for (const ResolutionPlan& plan : {Plan(1575, 788, 2), Plan(1500, 750, 2), Plan(2000, 500, 4),
                                       Plan(1201, 601, 2), Plan(1150, 192, 6)})
        for (auto [kind, step] : kinds)
            for (uint32_t pixels : {1u, 7u, 33u, 200u}) {
                SCOPED_TRACE(testing::Message() << "E " << plan.effective << " kind " << int(kind) << " pixels " << pixels);
                const uint32_t lineBytes = pixels * step, lines = 13;
                const Bytes image = RandomBytes(size_t(lineBytes) * lines, pixels + plan.effective);
                const uint32_t columns = uint32_t(uint64_t(plan.factor) * (kind == SampleKind::LineArt ? 8 * pixels : pixels) *
                                                  plan.effective / (plan.factor * plan.asked));
                const uint32_t rowBytes = (kind == SampleKind::LineArt ? (columns + 7) / 8 : columns * step) + 3;
                uint32_t rows = 0;
                const Bytes want = Expected(int(kind), image, lineBytes, plan, rowBytes, &rows);
                EXPECT_EQ(rows, uint32_t(uint64_t(lines) * plan.effective / plan.asked));
                EXPECT_EQ(InBlocks(kind, image, lineBytes, plan, rowBytes, {lines}), want);
                EXPECT_EQ(InBlocks(kind, image, lineBytes, plan, rowBytes, {1, 4, 2}), want);
                EXPECT_EQ(InBlocks(kind, image, lineBytes, plan, rowBytes, {3}, true), want);
            }
}

TEST_F(EnlargeLinesTest, PlansWithoutEnlargementOrRoomAreRefused) {
    EXPECT_FALSE(BeginEnlargement(SampleKind::Gray, 10, Plan(600, 600, 1), 10, &e));
    EXPECT_FALSE(BeginEnlargement(SampleKind::Gray, 10, Plan(1200, 600, 2), 19, &e));
    plat::host::FailAllocationAt(2);
    EXPECT_FALSE(BeginEnlargement(SampleKind::Gray, 10, Plan(1199, 600, 2), 19, &e));
    const Bytes line(10, 1);
    Bytes rows(40, 0xA5);
    uint32_t written = 7;
    EXPECT_FALSE(EnlargeLines(e, line.data(), 1, rows.data(), 20, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(rows, Bytes(40, 0xA5));
}

}  // namespace
