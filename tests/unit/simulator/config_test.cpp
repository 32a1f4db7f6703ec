// The configuration keys: values, rejected values, and that every key is documented.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/unit/simulator/sim_fixture.h"

namespace {

TEST(SimulatorConfig, KeysSetTheProfileAndFaults) {
    const SimulatorConfig c = ConfigFrom({{"Model", "800"}, {"Bed", "NARROW"}, {"Transparency", "yes"},
                                          {"Capability", "0x3f"}, {"ReadFault", "0x8217@1200*3"},
                                          {"StartReply", "zero-bytes"}, {"Original", "Chart"}});
    EXPECT_EQ(c.profile.opticalResolution, 800);
    EXPECT_TRUE(c.profile.narrowBed);
    EXPECT_TRUE(c.profile.transparencyUnit);
    EXPECT_EQ(c.profile.capability, 0x3F);
    EXPECT_EQ(c.faults.readFault.status, kScanStatusPaperJam);
    EXPECT_EQ(c.faults.readFault.line, 1200u);
    EXPECT_EQ(c.faults.readFault.count, 3u);
    EXPECT_EQ(c.faults.startReply, StartReplyFault::ZeroBytesPerLine);
    EXPECT_TRUE(c.original.empty());
}

TEST(SimulatorConfig, UnusableValuesKeepTheDefaultAndAreReported) {
    const std::map<std::string, std::string> keys = {
        {"Model", "700"},        {"Calibration", "1,2,3"}, {"ReadFault", "0x8321"},
        {"Firmware", "1.05"},    {"Capability", "256"},    {"NeverReady", "maybe"},
        {"StopStatus", "0x10000"},{"OriginalDpi", "5"},     {"WarmupPolls", "-1"}};
    SimulatorConfig c;
    std::vector<std::string> problems;
    ParseConfig([&](const char* k, std::string& v) {
        auto it = keys.find(k);
        return it != keys.end() && (v = it->second, true);
    }, c, problems);
    EXPECT_EQ(problems.size(), keys.size());
    const SimulatorConfig defaults;
    EXPECT_EQ(c.profile.opticalResolution, defaults.profile.opticalResolution);
    EXPECT_EQ(c.profile.calibration[3], defaults.profile.calibration[3]);
    EXPECT_EQ(c.faults.readFault.count, 0u);
}

TEST(SimulatorConfig, EveryKeyIsDocumented) {
    std::ifstream in(KV_SIMULATOR_README);
    ASSERT_TRUE(in) << KV_SIMULATOR_README;
    std::stringstream text;
    text << in.rdbuf();
    for (const char* key : ConfigKeys())
        EXPECT_NE(text.str().find(std::string("`") + key + "`"), std::string::npos) << key;
}

}  // namespace
