// Every misbehaviour of the fault script, reached through configuration keys only.
#include <gtest/gtest.h>

#include "tests/unit/simulator/sim_fixture.h"

namespace {

ScanWindow Small(const SimulatorConfig& c, uint8_t source = 0) {
    ScanWindow w = WindowInches(c.profile, 1, 1, 2, 2, 100, kColourTypeColour);
    w.source = source;
    return w;
}

struct Outcome {
    bool ok;
    uint32_t code;
    uint16_t status;
};

Outcome Scan(SimulatedScanner& s, const ScanWindow& w) {
    const bool ok = RunScan(s.caller, w);
    return {ok, s.caller.failedCode, s.caller.failedStatus};
}

Outcome ScanWith(const std::map<std::string, std::string>& keys, uint8_t source = 0) {
    const SimulatorConfig c = ConfigFrom(keys);
    SimulatedScanner s(c);
    return Scan(s, Small(c, source));
}

TEST(SimulatorFaults, InquiryAndHandleFaults) {
    EXPECT_EQ(ConfigFrom({{"Handle", "0"}}).faults.scannerHandle, 0u);
    for (uint16_t status : {255, 0x0102}) {
        const Outcome o = ScanWith({{"InquiryStatus", std::to_string(status)}});
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.code, uint32_t(ScanRequestInquiry));
        EXPECT_EQ(o.status, status);
    }
}

TEST(SimulatorFaults, WarmUpLastsTheConfiguredPollsAndNeverReadyNeverEnds) {
    SimulatedScanner s(ConfigFrom({{"WarmupPolls", "3"}}));
    SetParametersBlock early{};
    early.xEnd = early.yEnd = 100, early.resolution = 100, early.colourType = 3, early.fromDataSource = 1;
    EXPECT_EQ(s.Issue(early, ScanRequestSetParameters), kStatusBusy);
    for (int poll = 0; poll < 4; ++poll) {
        GetStatusBlock st{};
        EXPECT_EQ(s.Issue(st, ScanRequestGetStatus), 0);
        EXPECT_EQ(st.ready, poll < 3 ? 0 : 1) << poll;
    }
    SimulatedScanner never(ConfigFrom({{"NeverReady", "1"}}));
    for (int poll = 0; poll < 50; ++poll) {
        GetStatusBlock st{};
        never.Issue(st, ScanRequestGetStatus);
        ASSERT_EQ(st.ready, 0);
    }
}

TEST(SimulatorFaults, SetupStatusesFromScriptFeederAndCover) {
    for (uint16_t status : {kScanStatusPaperJam, kScanStatusNoPaper, kScanStatusCoverOpen, uint16_t(0x8888)}) {
        const Outcome o = ScanWith({{"SetupStatus", std::to_string(status)}});
        EXPECT_EQ(o.code, uint32_t(ScanRequestSetParameters));
        EXPECT_EQ(o.status, status);
    }
    const Outcome cover = ScanWith({{"Transparency", "1"}, {"CoverOpen", "1"}}, 1);
    EXPECT_EQ(cover.status, kScanStatusCoverOpen);
    EXPECT_NE(ScanWith({}, 3).status, 0);  // no feeder installed

    const SimulatorConfig feeder = ConfigFrom({{"Feeder", "1"}, {"FeederPages", "2"}});
    SimulatedScanner s(feeder);
    EXPECT_TRUE(Scan(s, Small(feeder, 3)).ok);
    EXPECT_TRUE(Scan(s, Small(feeder, 3)).ok);
    const Outcome empty = Scan(s, Small(feeder, 3));
    EXPECT_EQ(empty.code, uint32_t(ScanRequestSetParameters));
    EXPECT_EQ(empty.status, kScanStatusNoPaper);
}

TEST(SimulatorFaults, StartReplyOfZeroLinesOrBytes) {
    for (const char* kind : {"zero-lines", "zero-bytes"}) {
        const SimulatorConfig c = ConfigFrom({{"StartReply", kind}});
        SimulatedScanner s(c);
        EXPECT_TRUE(Scan(s, Small(c)).ok);
        EXPECT_EQ(s.caller.lines == 0 || s.caller.bytesPerLine == 0, true) << kind;
        EXPECT_TRUE(s.caller.image.empty());
    }
}

TEST(SimulatorFaults, DataNotReadyOnceIsRetriedTwiceLosesTheBand) {
    // The slanted edge: every line differs from the one before.
    const ScanWindow edge = WindowInches(ScannerProfile{}, 2.6, 7.4, 3.6, 8.4, 100, kColourTypeColour);
    const SimulatorConfig once = ConfigFrom({{"ReadFault", "0x8321@40"}});
    SimulatedScanner a(once);
    a.caller.maxBufferBytes = 10 * 300;  // ten lines per band
    ASSERT_TRUE(Scan(a, edge).ok);
    EXPECT_EQ(a.caller.readRequests, 11u);
    SimulatedScanner clean(once);
    clean.device.config.faults.readFault = {};
    ASSERT_TRUE(Scan(clean, edge).ok);
    EXPECT_EQ(a.caller.image, clean.caller.image);

    const SimulatorConfig twice = ConfigFrom({{"ReadFault", "0x8321@40*2"}});
    SimulatedScanner b(twice);
    b.caller.maxBufferBytes = 10 * 300;
    ASSERT_TRUE(Scan(b, edge).ok);  // the caller accepts the band unread
    EXPECT_EQ(b.caller.readRequests, 11u);
    EXPECT_NE(b.caller.image, clean.caller.image);
}

TEST(SimulatorFaults, JamOrCoverOpenAtALine) {
    for (uint16_t status : {kScanStatusPaperJam, kScanStatusCoverOpen}) {
        const Outcome o = ScanWith({{"ReadFault", std::to_string(status) + "@70"}});
        EXPECT_EQ(o.code, uint32_t(ScanRequestReadData));
        EXPECT_EQ(o.status, status);
    }
}

TEST(SimulatorFaults, StatusAfterAStop) {
    SimulatedScanner s(ConfigFrom({{"StopStatus", "0x0400"}}));
    GetStatusBlock before{};
    EXPECT_EQ(s.Issue(before, ScanRequestGetStatus), 0);
    StopBlock stop{};
    s.Issue(stop, ScanRequestStop);
    GetStatusBlock after{};
    EXPECT_EQ(s.Issue(after, ScanRequestGetStatus), 0x0400);
    EXPECT_EQ(after.ready, 1);
}

TEST(SimulatorFaults, ForeignModelAndTooFewShadingLines) {
    SimulatedScanner foreign(ConfigFrom({{"Capability", "0x3F"}}));
    InquiryBlock inq{};
    foreign.Issue(inq, ScanRequestInquiry);
    EXPECT_EQ(inq.capability & kCapabilityOurScanner, 0);

    const SimulatorConfig few = ConfigFrom({{"ShadingLines", "5"}});
    SimulatedScanner s(few);
    SetParametersBlock setup{};
    setup.xEnd = setup.yEnd = 1200, setup.resolution = 100, setup.colourType = 3, setup.fromDataSource = 1;
    ASSERT_EQ(s.Issue(setup, ScanRequestSetParameters), 0);
    ShadingInfoBlock info{};
    info.one = 1;
    ASSERT_EQ(s.Issue(info, ScanRequestShadingInfo), 0);
    EXPECT_EQ(info.lines, 5);
}

}  // namespace
