// A scanner that stops answering never holds the application: every call returns with its
// error once the source's bound on the platform clock has passed. The clock is virtual, so
// the minute-long bounds pass at once; the fixture's watchdog on the real clock ends the
// program should a wait have no bound at all.
#include "engine/scanner_wait.h"
#include "link/bring_up.h"
#include "platform/host/host_control.h"
#include "tests/unit/fault_matrix/matrix_fixture.h"
#include "twain/source_record.h"

namespace {

// One poll pause of slack beyond the bound.
constexpr uint32_t kSlackMs = 200;

class BoundedWait : public MatrixTest {};

// Mid-read (the read after the first band answers "busy") or after the last band, the
// scanner never becomes ready again: every mechanism waits out the bound, and no longer.
// What the application is told is the fault matrix's part.
TEST_F(BoundedWait, AHungScannerReleasesEveryTransferAfterTheBound) {
    struct Hang {
        const char* line;
        Frame frame;
    };
    for (const Hang hang : {Hang{"10", Frame::TwoBands}, Hang{"59", Frame::Small}}) {
        for (Mech mech : {Mech::Native, Mech::Memory, Mech::MemorySpooled, Mech::FileTiff,
                          Mech::FileBmp, Mech::FileSpooled}) {
            ClearSimulator();
            Simulate("HangAfterLine", hang.line);
            Outcome out;
            ASSERT_TRUE(OpenAndScan(mech, hang.frame, out)) << MechName(mech);
            Transfer(mech, out);
            const std::string cell = std::string(MechName(mech)) + " after line " + hang.line;
            EXPECT_NE(out.rc, TWRC_SUCCESS) << cell;
            EXPECT_GE(out.virtualMs, kScannerBusyLimitMs) << cell;
            EXPECT_LE(out.virtualMs, kScannerBusyLimitMs + kSlackMs) << cell;
            EndAsApplication(out);
            ASSERT_EQ(Close(), TWRC_SUCCESS);
        }
    }
}

// After the hang the next scan waits for ready before its set-up, and gives up with
// "not ready" and the close request.
TEST_F(BoundedWait, ScanOfAHungScannerGivesUpWithinTheBound) {
    Simulate("HangAfterLine", "10");
    Outcome first;
    ASSERT_TRUE(OpenAndScan(Mech::Memory, Frame::TwoBands, first));
    Transfer(Mech::Memory, first);
    ASSERT_EQ(first.rc, TWRC_FAILURE);
    EndAsApplication(first);

    Outcome next;
    EXPECT_FALSE(Scan(Mech::Memory, Frame::Small, next));
    EXPECT_EQ(next.call, "enable");
    EXPECT_EQ(next.rc, TWRC_SUCCESS);
    EXPECT_EQ(next.messages, std::vector<uint32_t>{608});
    EXPECT_TRUE(next.closeRequest);
    EXPECT_EQ(next.state, 400);
    EXPECT_GE(next.virtualMs, kReadyWaitLimitMs);
    EXPECT_LE(next.virtualMs, kReadyWaitLimitMs + kSlackMs);
    EXPECT_EQ(dialogEvents, (std::vector<std::string>{"open 60", "close"}));
}

}  // namespace
