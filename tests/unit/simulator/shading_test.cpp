// The white reference in the layouts the two readers expect, and what they compute from it.
#include <gtest/gtest.h>

#include <numeric>

#include "simulator/device/shading.h"
#include "tests/unit/simulator/sim_fixture.h"

namespace {

struct Measured {
    uint16_t bytesPerLine = 0, lines = 0;
    std::vector<uint8_t> data;
};

// Set-up, then ShadingInfo and ReadShading into one buffer with guard bytes around it.
Measured Measure(SimulatedScanner& s, const ScanWindow& w) {
    SetParametersBlock setup{};
    setup.xStart = w.xStart, setup.yStart = w.yStart, setup.xEnd = w.xEnd, setup.yEnd = w.yEnd;
    setup.fromDataSource = w.fromDataSource, setup.colourType = w.colourType;
    setup.resolution = w.resolution;
    EXPECT_EQ(s.Issue(setup, ScanRequestSetParameters), 0);
    ShadingInfoBlock info{};
    info.one = 1;
    EXPECT_EQ(s.Issue(info, ScanRequestShadingInfo), 0);
    Measured m{info.bytesPerLine, info.lines, {}};
    const uint32_t bytes = uint32_t(m.bytesPerLine) * m.lines;
    std::vector<uint8_t> area(bytes + 64, 0xEE);
    ScanBufferTable table = {};
    EXPECT_GT(DivideBuffer(area.data() + 32, bytes, table, m.bytesPerLine), 0);
    ReadShadingBlock read{};
    read.resolution = w.resolution, read.bytesPerLine = m.bytesPerLine, read.lines = m.lines;
    read.bytes = bytes, read.table = table;
    EXPECT_EQ(s.Issue(read, ScanRequestReadShading), 0);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(area[i], 0xEE);
        EXPECT_EQ(area[32 + bytes + i], 0xEE);
    }
    m.data.assign(area.begin() + 32, area.begin() + 32 + bytes);
    return m;
}

std::vector<uint16_t> Ideal(const SimulatedScanner& s, const ScanWindow& w) {
    const ShadingLayout layout = PlanShading(w.colourType, w.fromDataSource,
                                             s.device.geometry.pixels);
    return IdealCoefficients(s.device.sensor, layout, w, OpticalScale(s.device.config.profile),
                             s.device.config.profile.calibration);
}

TEST(SimulatorShading, DataSourceReadingRecoversTheExactCoefficients) {
    for (uint8_t mode : {kColourTypeLineArt, kColourTypeFastGray, kColourTypeGray,
                         kColourTypeColour, kColourTypeColour36}) {
        SimulatedScanner s;
        const ScanWindow w = WindowInches(s.device.config.profile, 0.5, 1, 6.5, 2, 300, mode);
        const Measured m = Measure(s, w);
        const bool colour = mode >= kColourTypeGray;
        EXPECT_EQ(m.bytesPerLine, (colour ? 6 : 2) + 2 * (colour ? 3 : 1) * 1800);
        EXPECT_EQ(m.lines, 16);
        uint16_t cal[4];
        std::copy(std::begin(s.device.config.profile.calibration),
                  std::end(s.device.config.profile.calibration), cal);
        EXPECT_EQ(DataSourceCoefficients(m.data.data(), m.bytesPerLine, m.lines, colour, cal),
                  Ideal(s, w))
            << int(mode);
    }
}

TEST(SimulatorShading, PrescanReadingRecoversTheExactCoefficients) {
    SimulatedScanner s;
    ScanWindow w = WindowInches(s.device.config.profile, 0, 0, 11.7, 17, 60, kColourTypeColour);
    w.fromDataSource = false;
    const Measured m = Measure(s, w);
    EXPECT_EQ(m.bytesPerLine, 6 + 6 * 702);
    uint16_t cal[4];
    std::copy(std::begin(s.device.config.profile.calibration),
              std::end(s.device.config.profile.calibration), cal);
    EXPECT_EQ(PrescanCoefficients(m.data.data(), m.bytesPerLine, m.lines, cal), Ideal(s, w));
}

TEST(SimulatorShading, SamplesCarryNoiseThatOnlyTheTrimmedMaskedAverageRemoves) {
    SimulatedScanner s;
    const ScanWindow w = WindowInches(s.device.config.profile, 1, 1, 2, 2, 300, kColourTypeFastGray);
    const Measured m = Measure(s, w);
    uint32_t outliers = 0, flagged = 0;
    for (uint32_t p = 0; p < (m.bytesPerLine - 2u) / 2; ++p) {
        std::vector<uint16_t> v;
        for (uint32_t n = 0; n < m.lines; ++n) {
            const uint8_t* q = m.data.data() + n * m.bytesPerLine + 2 + 2 * p;
            const uint16_t raw = uint16_t(q[0] | (q[1] << 8));
            flagged += (raw >> 12) != 0;
            v.push_back(raw & 4095);
        }
        const uint32_t mean = std::accumulate(v.begin(), v.end(), 0u) / m.lines;
        std::sort(v.begin(), v.end());
        outliers += mean != v[m.lines / 2];
    }
    EXPECT_GT(outliers, 100u);  // a plain mean would be wrong at many positions
    EXPECT_GT(flagged, 1000u);  // an unmasked reader would be wrong everywhere
}

TEST(SimulatorShading, WideColourLinesAtFullResolutionShareOneSampleBetweenTwoColumns) {
    const ShadingLayout wide = PlanShading(kColourTypeColour, true, 14040);
    EXPECT_EQ(wide.cellWidth, 2u);
    EXPECT_LE(wide.bytesPerLine, 0xFFFFu);
    EXPECT_EQ(PlanShading(kColourTypeFastGray, true, 14040).cellWidth, 1u);
}

TEST(SimulatorShading, LevelCorrectionMatchesItsDefinitionAtTheEdges) {
    EXPECT_EQ(LevelCorrection(30624, 2047), 30624);                 // below half scale: v
    EXPECT_EQ(LevelCorrection(30624, 3190), 30624 * 4095 / 3190 - 1023);  // exact division
    EXPECT_EQ(LevelCorrection(4095, 4095), 3072);
    EXPECT_EQ(LevelCorrection(4095, 2730), 5119);  // remainder exactly half: stays down
    EXPECT_EQ(LevelCorrection(100, 3000), 0);      // negative quotient
}

}  // namespace
