// The feeder and auto-feed settings: only with a feeder, only in state 400, and auto-feed only
// while the feeder is enabled.
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "tests/unit/capability/capability_fixture.h"
#include "twain/capability_kept.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

class FeederTest : public CapabilityTest {
protected:
    void SetUp() override {
        CapabilityTest::SetUp();
        TheLink.optionInstalled = true;
    }
};

TEST_F(FeederTest, WithoutAFeederEverythingIsRefusedAndSwitchedOff) {
    TheKeptCapabilities = {0, 1, 3};
    TheNegotiation.AutoFeed = 1;
    TheLink.optionInstalled = false;
    EXPECT_EQ(SetOne(CAP_AUTOFEED, TWTY_UINT16, 1), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADCAP);
    EXPECT_EQ(TheNegotiation.AutoFeed, 0);
    EXPECT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADCAP);
    EXPECT_EQ(TheKeptCapabilities.FeederEnabled, 0);
    EXPECT_EQ(TheKeptCapabilities.FeederCode, 0);
    EXPECT_EQ(Query(CAP_FEEDERENABLED, MSG_GET).items[0], 0u);
    EXPECT_EQ(Query(CAP_FEEDERLOADED, MSG_GET).rc, TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADCAP);
}

TEST_F(FeederTest, EnablingTakesIntegersInState400AndSetsTheFeederCode) {
    EXPECT_EQ(Query(CAP_FEEDERENABLED, MSG_GETCURRENT).itemType, TWTY_BOOL);
    EXPECT_EQ(Query(CAP_FEEDERENABLED, MSG_GETCURRENT).items[0], 1u);
    // Flags are accepted only as integers.
    EXPECT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_BOOL, 1), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADVALUE);
    EXPECT_EQ(TheKeptCapabilities.FeederEnabled, 0);
    EXPECT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(TheKeptCapabilities.FeederEnabled, 1);
    EXPECT_EQ(TheKeptCapabilities.FeederCode, 3);
    EXPECT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 0), TWRC_SUCCESS);
    EXPECT_EQ(TheKeptCapabilities.FeederCode, 0);
}

TEST_F(FeederTest, FeederSettingsOutsideState400) {
    for (int state : {500, 600, 700}) {
        EnterState(state);
        EXPECT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_FAILURE);
        EXPECT_EQ(Status(), TWCC_SEQERROR);
        EXPECT_EQ(TheKeptCapabilities.FeederEnabled, 0);
    }
    EnterState(300);
    EXPECT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(TheKeptCapabilities.FeederEnabled, 0);

    EnterState(400);
    ASSERT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_SUCCESS);
    for (int state : {500, 600, 700}) {
        EnterState(state);
        EXPECT_EQ(SetOne(CAP_AUTOFEED, TWTY_UINT16, 1), TWRC_FAILURE);
        EXPECT_EQ(Status(), TWCC_SEQERROR);
    }
    EnterState(300);
    EXPECT_EQ(SetOne(CAP_AUTOFEED, TWTY_UINT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.AutoFeed, 0);
}

TEST_F(FeederTest, AutoFeedNeedsTheFeederEnabledAndAnyQuerySwitchesItOff) {
    EXPECT_EQ(SetOne(CAP_AUTOFEED, TWTY_UINT16, 1), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADCAP);
    ASSERT_EQ(SetOne(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_SUCCESS);
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
        ASSERT_EQ(SetOne(CAP_AUTOFEED, TWTY_UINT16, 1), TWRC_SUCCESS);
        EXPECT_EQ(TheNegotiation.AutoFeed, 1);
        const Answer a = Query(CAP_AUTOFEED, msg);
        EXPECT_EQ(a.itemType, TWTY_BOOL);
        EXPECT_EQ(a.items[0], 0u);
        EXPECT_EQ(TheNegotiation.AutoFeed, 0) << msg;
    }
}

TEST_F(FeederTest, FeederLoadedSucceedsWithoutAContainer) {
    TW_CAPABILITY cap{CAP_FEEDERLOADED, TWON_ONEVALUE, reinterpret_cast<void*>(0x1234)};
    EXPECT_EQ(Call(MSG_GET, cap), TWRC_SUCCESS);
    EXPECT_TRUE(cap.hContainer == nullptr);  // packed: no reference to the field
    EXPECT_EQ(SetOne(CAP_FEEDERLOADED, TWTY_UINT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(Status(), TWCC_BADVALUE);
}

}  // namespace
