// The inquiry reply as both bring-ups read it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/unit/simulator/sim_fixture.h"

namespace {

int DecimalOf(const char (&digits)[4]) {
    char text[5] = {};
    std::memcpy(text, digits, 4);
    return std::atoi(text);
}

// The prescan library's table.
int PrescanResolution(int value) {
    switch (value) {
        case 6000: return 600;
        case 6060: return 606;
        case 8000: return 800;
        case 1200: return 1200;
        default: return 0;
    }
}

InquiryBlock Inquire(const SimulatorConfig& config) {
    SimulatedScanner s(config);
    InquiryBlock block{};
    EXPECT_EQ(s.Issue(block, ScanRequestInquiry), 0);
    return block;
}

TEST(SimulatorInquiry, CarriesTheProfileAtItsOffsets) {
    const InquiryBlock b = Inquire(ConfigFrom({{"Firmware", "105"}, {"Variant", "1"},
                                               {"Bed", "narrow"}, {"Feeder", "1"},
                                               {"Calibration", "30624,4095,0x1234,7"}}));
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(&b);
    EXPECT_EQ(raw[42], '1');
    EXPECT_EQ(raw[44], '0');
    EXPECT_EQ(raw[45], '5');
    EXPECT_EQ(std::memcmp(raw + 53, "KVC-", 4), 0);
    EXPECT_EQ(raw[67] & 0x40, 0x40);
    EXPECT_EQ(raw[70] | (raw[71] << 8), 30624);
    EXPECT_EQ(raw[72] | (raw[73] << 8), 4095);
    EXPECT_EQ(raw[74] | (raw[75] << 8), 0x1234);
    EXPECT_EQ(raw[76] | (raw[77] << 8), 7);
    EXPECT_EQ(raw[126], 1);
    EXPECT_EQ(raw[127], 1);
    EXPECT_EQ(std::memcmp(Inquire({}).modelPrefix, "KVT-", 4), 0);
    EXPECT_EQ(Inquire({}).optionInstalled, 0);
}

TEST(SimulatorInquiry, ResolutionDigitsSuitTheChosenReader) {
    for (int model : {600, 606, 800, 1200}) {
        const std::string m = std::to_string(model);
        const InquiryBlock source = Inquire(ConfigFrom({{"Model", m}}));
        EXPECT_EQ(DecimalOf(source.opticalResolution), model);
        const InquiryBlock prescan = Inquire(ConfigFrom({{"Model", m}, {"ResolutionDigits", "prescan"}}));
        EXPECT_EQ(PrescanResolution(DecimalOf(prescan.opticalResolution)), model);
    }
    // The 1200 dpi model satisfies both readings with the same characters.
    EXPECT_EQ(PrescanResolution(DecimalOf(Inquire({}).opticalResolution)), 1200);
}

}  // namespace
