// The virtual clock, recorded message boxes, the pump's Escape, timers, other programs'
// windows and notifications to the source manager.
#include "platform/escape_key.h"
#include "tests/unit/platform/platform_fixture.h"

namespace {

using Clock = PlatformTest;

TEST_F(Clock, TicksMoveOnlyWhenToldAndWrapLikeGetTickCount) {
    EXPECT_EQ(plat::TickCount(), 0u);
    EXPECT_EQ(plat::TickCount(), 0u);
    plat::SleepMs(250);
    EXPECT_EQ(plat::TickCount(), 250u);
    plat::host::AdvanceTicks(0xFFFFFFFFu - 250);
    EXPECT_EQ(plat::TickCount(), 0xFFFFFFFFu);
    plat::SleepMs(2);
    EXPECT_EQ(plat::TickCount(), 1u);
}

TEST_F(Clock, TickStepLetsAPollingLoopReachItsDeadline) {
    plat::host::SetTickStep(100);
    const uint32_t start = plat::TickCount();
    int polls = 0;
    while (plat::TickCount() - start < 5000) ++polls;
    EXPECT_EQ(polls, 49);
}

TEST_F(Clock, LocalTimeIsRealUnlessSet) {
    plat::LocalTime now = plat::GetLocalTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_LE(now.dayOfWeek, 6);
    plat::LocalTime fixed{1999, 12, 5, 31, 23, 59, 58, 999};
    plat::host::SetLocalTime(fixed);
    plat::LocalTime got = plat::GetLocalTime();
    EXPECT_EQ(got.year, 1999);
    EXPECT_EQ(got.dayOfWeek, 5);
    EXPECT_EQ(got.milliseconds, 999);
    plat::host::Reset();
    EXPECT_GE(plat::GetLocalTime().year, 2024);
}

using Interface = PlatformTest;

TEST_F(Interface, MessageBoxesAreRecordedAndAnswered) {
    int owner = 0;
    EXPECT_EQ(plat::MessageBox(&owner, "Time Out!", "SCANNER A3 Flatbed Scanner",
                               plat::kMbOk | plat::kMbIconExclamation),
              plat::kIdOk);
    plat::host::SetMessageBoxAnswer(plat::kIdNo);
    EXPECT_EQ(plat::MessageBox(nullptr, "Continue?", nullptr, plat::kMbYesNo), plat::kIdNo);
    auto boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, &owner);
    EXPECT_EQ(boxes[0].caption, "SCANNER A3 Flatbed Scanner");
    EXPECT_EQ(boxes[0].text, "Time Out!");
    EXPECT_EQ(boxes[0].flags, plat::kMbIconExclamation);
    EXPECT_EQ(boxes[1].caption, "Error");  // what MessageBoxA shows for no caption
    plat::host::ClearMessageBoxes();
    EXPECT_TRUE(plat::host::MessageBoxes().empty());
    plat::host::Reset();
    EXPECT_EQ(plat::MessageBox(nullptr, "x", "y", 0), plat::kIdOk);
}

TEST_F(Interface, EscapeArrivesAtTheChosenPumpOnce) {
    plat::host::PressEscapeAtPump(3);
    EXPECT_FALSE(plat::PumpMessagesCheckEscape());
    EXPECT_FALSE(plat::PumpMessagesCheckEscape());
    EXPECT_TRUE(plat::PumpMessagesCheckEscape());
    EXPECT_FALSE(plat::PumpMessagesCheckEscape());
    EXPECT_EQ(plat::host::PumpCount(), 4u);
}

TEST_F(Interface, PumpHookSeesEveryPumpAndCanPressEscape) {
    int calls = 0;
    plat::host::SetPumpHook([&] { return ++calls == 2; });
    EXPECT_FALSE(plat::PumpMessagesCheckEscape());
    EXPECT_TRUE(plat::PumpMessagesCheckEscape());
    EXPECT_EQ(calls, 2);
    plat::host::Reset();
    EXPECT_FALSE(plat::PumpMessagesCheckEscape());
    EXPECT_EQ(calls, 2);
}

TEST_F(Interface, TimersAreKeyedByWindowAndId) {
    int window = 0, other = 0;
    EXPECT_TRUE(plat::StartTimer(&window, 3, 2000));
    EXPECT_TRUE(plat::StartTimer(&other, 3, 200));
    EXPECT_TRUE(plat::StartTimer(&window, 3, 500));  // restarts with the new period
    EXPECT_FALSE(plat::StartTimer(nullptr, 4, 200));
    auto timers = plat::host::ActiveTimers();
    ASSERT_EQ(timers.size(), 2u);
    EXPECT_EQ(timers[0].window, &window);
    EXPECT_EQ(timers[0].ms, 500u);
    EXPECT_TRUE(plat::StopTimer(&window, 3));
    EXPECT_FALSE(plat::StopTimer(&window, 3));
    ASSERT_EQ(plat::host::ActiveTimers().size(), 1u);
    EXPECT_EQ(plat::host::ActiveTimers()[0].window, &other);
}

TEST_F(Interface, OtherProgramsWindowsAreFoundByClassWithoutCase) {
    EXPECT_FALSE(plat::TopLevelWindowExists("Relaynor"));
    plat::host::SetTopLevelWindow("Relaynor", true);
    EXPECT_TRUE(plat::TopLevelWindowExists("RELAYNOR"));
    plat::host::SetTopLevelWindow("relaynor", false);
    EXPECT_FALSE(plat::TopLevelWindowExists("Relaynor"));
    EXPECT_FALSE(plat::TopLevelWindowExists(nullptr));
}

TEST_F(Interface, NotificationsAreRecordedWithIdentities) {
    TW_IDENTITY source{}, app{};
    source.Id = 7;
    app.Id = 9;
    EXPECT_EQ(plat::NotifySourceManager(&source, &app, DG_CONTROL, DAT_NULL, MSG_XFERREADY,
                                        nullptr),
              TWRC_SUCCESS);
    plat::host::SetSourceManagerResult(TWRC_FAILURE);
    EXPECT_EQ(plat::NotifySourceManager(&source, nullptr, DG_CONTROL, DAT_NULL, MSG_CLOSEDSREQ,
                                        nullptr),
              TWRC_FAILURE);
    auto sent = plat::host::Notifications();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].originId, 7u);
    EXPECT_EQ(sent[0].destId, 9u);
    EXPECT_EQ(sent[0].msg, MSG_XFERREADY);
    EXPECT_EQ(sent[1].destId, 0u);
    EXPECT_EQ(sent[1].msg, MSG_CLOSEDSREQ);
}

}  // namespace

namespace {

// Escape cancels whether it comes as a key going down, going up or a character, also with Alt
// (the system key messages); other keys and other messages never do.
TEST(EscapeKey, AnyKeyMessageOfEscapeCancels) {
    for (uint32_t message = 0x100; message <= 0x108; ++message) {
        EXPECT_TRUE(plat::IsEscapeKeyMessage(message, 0x1B)) << message;
        EXPECT_FALSE(plat::IsEscapeKeyMessage(message, 0x0D)) << message;
    }
    for (uint32_t message : {0x0FFu, 0x109u, 0x200u, 0x0113u}) EXPECT_FALSE(plat::IsEscapeKeyMessage(message, 0x1B));
}

}  // namespace
