// The white level of each sample position: extremes dropped per column, lines that need not
// be contiguous, the 12-bit mask, and the refusal of a measurement too short to drop them.
#include <gtest/gtest.h>

#include <vector>

#include "common/white_reference.h"

namespace {

// One line: lead bytes, then little-endian 16-bit samples.
std::vector<uint8_t> Line(uint32_t lead, const std::vector<uint16_t>& samples) {
    std::vector<uint8_t> bytes(lead, 0xEE);
    for (uint16_t v : samples) bytes.push_back(uint8_t(v)), bytes.push_back(uint8_t(v >> 8));
    return bytes;
}

TEST(WhiteReferences, DropsExtremesOfEachColumnOverScatteredLines) {
    // Ten colour lines (six low and two high dropped: lines 6 and 7 of each sorted column
    // count). Column 0 counts 100..109 in reverse, column 1 has high bits above 12 set.
    std::vector<std::vector<uint8_t>> lines;
    for (uint16_t l = 0; l < 10; ++l)
        lines.push_back(Line(6, {uint16_t(109 - l), uint16_t(0xF000 | (200 + 10 * l)), 7}));
    std::vector<const uint8_t*> starts;
    for (const auto& line : lines) starts.push_back(line.data());
    uint16_t averages[3] = {};
    ASSERT_TRUE(WhiteReferences(starts.data(), 10, 6, 3, true, averages));
    EXPECT_EQ(averages[0], (106 + 107) / 2);
    EXPECT_EQ(averages[1], (260 + 270) / 2);
    EXPECT_EQ(averages[2], 7);
}

TEST(WhiteReferences, OneChannelDropsThreeAtEachEnd) {
    std::vector<std::vector<uint8_t>> lines;
    const uint16_t values[] = {4095, 1, 50, 52, 54, 56, 0, 4000, 3000};
    for (uint16_t v : values) lines.push_back(Line(2, {v}));
    std::vector<const uint8_t*> starts;
    for (const auto& line : lines) starts.push_back(line.data());
    uint16_t average = 0;
    ASSERT_TRUE(WhiteReferences(starts.data(), 9, 2, 1, false, &average));
    EXPECT_EQ(average, (52 + 54 + 56) / 3);
}

TEST(WhiteReferences, TooFewLinesToDropTheExtremesFail) {
    const std::vector<uint8_t> colourLine = Line(6, {100});
    std::vector<const uint8_t*> starts(8, colourLine.data());
    uint16_t average = 0;
    EXPECT_FALSE(WhiteReferences(starts.data(), 8, 6, 1, true, &average));
    const std::vector<uint8_t> grayLine = Line(2, {100});
    starts.assign(6, grayLine.data());
    EXPECT_FALSE(WhiteReferences(starts.data(), 6, 2, 1, false, &average));
    starts.assign(7, grayLine.data());
    EXPECT_TRUE(WhiteReferences(starts.data(), 7, 2, 1, false, &average));
    EXPECT_EQ(average, 100);
}

}  // namespace
