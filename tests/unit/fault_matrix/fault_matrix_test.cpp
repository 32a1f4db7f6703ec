// Every fault the simulated scanner and the machine can produce, through every transfer
// mechanism: what the application is told, what the user is shown, what is left behind, and
// that the source scans normally once the fault is gone.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/scanner_wait.h"
#include "link/bring_up.h"
#include "platform/host/host_control.h"
#include "tests/unit/fault_matrix/matrix_fixture.h"
#include "tests/unit/fault_matrix/matrix_report.h"
#include "twain/source_record.h"

namespace {

struct Expect {
    std::string call;
    TW_UINT16 rc;
    TW_UINT16 cc;
    std::vector<uint32_t> messages;
    int state;
    bool closeRequest;
    bool image = false;  // the complete reference image was delivered
};

enum class Shows { AtOpen, AtScanStart, WhileReading };

struct Fault {
    const char* name;
    std::map<std::string, std::string> simulator;
    Shows shows;
    Expect expect;
    Frame frame = Frame::Small;
    bool escape = false;            // ESC at the first pump of the transfer
    int64_t freeDisk = plat::host::kRealFreeDiskBytes;
};

const std::vector<Fault>& Faults() {
    constexpr TW_UINT16 kFail = TWRC_FAILURE, kOk = TWRC_SUCCESS, kDone = TWRC_XFERDONE;
    constexpr TW_UINT16 kOp = TWCC_OPERATIONERROR, kNone = TWCC_SUCCESS;
    static const std::vector<Fault> faults = {
        // The port is held by another user and no sharing server answers.
        {"inquiry not found", {{"InquiryStatus", "7"}}, Shows::AtOpen,
         {"open", kFail, kOp, {836, 609}, 300, false}},
        // The wait for ready is bounded: the open gives up with "not ready".
        {"never ready", {{"NeverReady", "1"}}, Shows::AtOpen,
         {"open", kFail, kOp, {608}, 300, false}},
        // A failed scan without the window leaves state 400 and asks to be closed; the
        // enable call fails only when the job ended through the common error exit.
        {"inquiry not ready", {{"InquiryStatus", "255"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {608}, 400, true}},
        {"set-up jam 0x8217", {{"SetupStatus", "0x8217"}}, Shows::AtScanStart,
         {"enable", kFail, kOp, {620}, 400, true}},
        // Without a feeder "no paper" ends the job without a message.
        {"set-up no paper 0x8321", {{"SetupStatus", "0x8321"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {}, 400, true}},
        {"set-up no paper 0x8321, feeder", {{"SetupStatus", "0x8321"}, {"Feeder", "1"}},
         Shows::AtScanStart, {"enable", kFail, kOp, {621}, 400, true}},
        {"set-up cover open 0x8414", {{"SetupStatus", "0x8414"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {622}, 400, true}},
        {"start reply zero lines", {{"StartReply", "zero-lines"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {}, 400, true}},
        // Lines of no bytes are an unusable answer: reported as a failed start.
        {"start reply zero bytes", {{"StartReply", "zero-bytes"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {628}, 400, true}},
        // An answer larger than the window is refused before any image is sized from it.
        {"start reply beyond the window", {{"StartReply", "oversized"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {628}, 400, true}},
        {"too few shading lines", {{"ShadingLines", "5"}}, Shows::AtScanStart,
         {"enable", kOk, kNone, {627}, 400, true}},
        {"free disk too small", {}, Shows::AtScanStart,
         {"enable", kOk, kNone, {605}, 400, true}, Frame::Small, false, 1000},
        {"free disk unknown", {}, Shows::AtScanStart,
         {"enable", kOk, kNone, {619}, 400, true}, Frame::Small, false, -1},
        {"read jam 0x8217", {{"ReadFault", "0x8217@30"}}, Shows::WhileReading,
         {"transfer", kFail, kOp, {620}, 700, true}},
        {"read cover open 0x8414", {{"ReadFault", "0x8414@30"}}, Shows::WhileReading,
         {"transfer", kFail, kOp, {622}, 700, true}},
        {"read 0x8321 once", {{"ReadFault", "0x8321@30"}}, Shows::WhileReading,
         {"transfer", kDone, kNone, {}, 700, false, true}},
        // "Data not ready" is asked again until the band comes: the image is the scanner's.
        {"read 0x8321 twice", {{"ReadFault", "0x8321@30*2"}}, Shows::WhileReading,
         {"transfer", kDone, kNone, {}, 700, false, true}},
        // ... but not beyond the scanner's bound: a band that never comes is a read error.
        {"read 0x8321 for ever", {{"ReadFault", "0x8321@30*65535"}}, Shows::WhileReading,
         {"transfer", kFail, kOp, {621}, 700, true}},
        // The retry of a "data not ready" band answers a jam: an error, not image data.
        {"read 0x8321 then jam", {{"ReadFault", "0x8321@30+0x8217"}}, Shows::WhileReading,
         {"transfer", kFail, kOp, {620}, 700, true}},
        // The stop after a jam finds the scanner in trouble too.
        {"read jam, stop status 0x0400", {{"ReadFault", "0x8217@30"}, {"StopStatus", "0x0400"}},
         Shows::WhileReading, {"transfer", kFail, kOp, {620, 629}, 700, true}},
        {"stop status 0x0400 (escape)", {{"StopStatus", "0x0400"}}, Shows::WhileReading,
         {"transfer", TWRC_CANCEL, kNone, {629}, 700, false}, Frame::Small, true},
        // A read answering "busy" is "not ready"; the scanner never comes back after the
        // stop, which the bounded wait reports.
        {"hang mid-read", {{"HangAfterLine", "10"}}, Shows::WhileReading,
         {"transfer", kFail, kOp, {608, 629}, 700, true}, Frame::TwoBands},
        // The image is complete; a scanner that stays busy afterwards is reported.
        {"hang after the last band", {{"HangAfterLine", "59"}}, Shows::WhileReading,
         {"transfer", kDone, kNone, {629}, 700, false, true}},
    };
    return faults;
}

struct Cell {
    const Fault* fault;
    Mech mech;
};

std::vector<Cell> Cells() {
    const Mech main[] = {Mech::Native, Mech::Memory, Mech::FileTiff, Mech::FileBmp};
    const Mech all[] = {Mech::Native,  Mech::Memory,  Mech::MemorySpooled,
                        Mech::FileTiff, Mech::FileBmp, Mech::FileSpooled};
    std::vector<Cell> cells;
    for (const Fault& f : Faults()) {
        if (f.shows == Shows::AtOpen) cells.push_back({&f, Mech::Memory});
        else if (f.shows == Shows::AtScanStart) for (Mech m : main) cells.push_back({&f, m});
        else for (Mech m : all) cells.push_back({&f, m});
    }
    return cells;
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    std::string name = std::string(info.param.fault->name) + "_" + MechName(info.param.mech);
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name + "_" + std::to_string(info.index);
}

void ExpectOutcome(const Expect& want, const Outcome& got) {
    EXPECT_EQ(got.call, want.call);
    EXPECT_EQ(got.rc, want.rc);
    EXPECT_EQ(got.cc, want.cc);
    EXPECT_EQ(got.messages, want.messages) << ::testing::PrintToString(got.texts);
    EXPECT_EQ(got.state, want.state);
    EXPECT_EQ(got.closeRequest, want.closeRequest);
    if (want.image) {
        EXPECT_TRUE(got.imageExact);
    }
    EXPECT_TRUE(got.tempFiles.empty()) << ::testing::PrintToString(got.tempFiles);
    EXPECT_FALSE(got.earlierFileLost) << "the user's file under the output's name was not kept";
    EXPECT_EQ(got.leakedBlocks, 0);
    // However the scanner misbehaves, no call waits longer than the scanner's bound.
    EXPECT_LE(got.virtualMs, std::max(kReadyWaitLimitMs, kScannerBusyLimitMs) + 200);
}

class FaultMatrix : public MatrixTest, public ::testing::WithParamInterface<Cell> {};

TEST_P(FaultMatrix, OutcomeAndRecovery) {
    const Fault& fault = *GetParam().fault;
    const Mech mech = GetParam().mech;
    SimulateAll(fault.simulator);
    plat::host::SetFreeDiskBytes(fault.freeDisk);

    Outcome out;
    if (OpenAndScan(mech, fault.frame, out)) {
        if (fault.escape) plat::host::PressEscapeAtPump(1);
        Transfer(mech, out);
    }
    ReportCell(fault.name, fault.shows == Shows::AtOpen ? "(at open)" : MechName(mech), out);
    ExpectOutcome(fault.expect, out);

    // The fault goes away (a fresh power-on for the scanner's own), and the source scans.
    plat::host::SetFreeDiskBytes(plat::host::kRealFreeDiskBytes);
    if (TheSource.SourceState >= 400) {
        EndAsApplication(out);
        ASSERT_EQ(Close(), TWRC_SUCCESS);
    }
    ClearSimulator();
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    if (fault.shows == Shows::AtOpen) {
        for (Mech m : {Mech::Native, Mech::Memory, Mech::FileTiff, Mech::FileBmp}) ExpectCleanScan(m);
    } else {
        ExpectCleanScan(mech);
    }
    // Closing gives back everything, the level-correction tables included.
    ASSERT_EQ(Close(), TWRC_SUCCESS);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    EXPECT_TRUE(TempFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(Cells, FaultMatrix, ::testing::ValuesIn(Cells()), CellName);

// ---- Failures of the machine, at every allocation and every write of a transfer ----------

// True when the n-th operation armed before the transfer was not reached by it: the probe
// itself then meets the failure within n tries.
bool AllocationFailureUnused(unsigned n) {
    std::vector<plat::MemHandle> probes;
    bool unused = false;
    for (unsigned i = 0; i < n && !unused; ++i) {
        plat::MemHandle h = plat::MemAlloc(1);
        if (h) probes.push_back(h);
        else unused = true;
    }
    for (plat::MemHandle h : probes) plat::MemFree(h);
    plat::host::FailAllocationAt(0);
    return unused;
}

bool WriteFailureUnused(unsigned n, const std::string& scratch) {
    const plat::FileHandle f = plat::FileCreate(scratch.c_str());
    bool unused = false;
    for (unsigned i = 0; i < n && !unused; ++i) unused = plat::FileWrite(f, "x", 1) != 1;
    plat::FileClose(f);
    plat::FileDelete(scratch.c_str());
    plat::host::FailWriteAt(0);
    return unused;
}

enum class Resource { Allocation, Write };

struct ResourceCell {
    Resource resource;
    Mech mech;
    Frame frame;
};

class ResourceMatrix : public MatrixTest, public ::testing::WithParamInterface<ResourceCell> {};

// Each failure either is survived (the image is still the scanner's) or fails the transfer
// with its message and the close request; nothing is left behind either way, and the next
// scan of the same session works.
TEST_P(ResourceMatrix, EveryOperationOfATransferFails) {
    const auto [resource, mech, frame] = GetParam();
    const bool allocation = resource == Resource::Allocation;
    const char* fault = allocation ? "allocation failure #" : "write failure #";
    const std::string scratch = (windowsDir / "probe.bin").string();
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    unsigned failed = 0;
    bool reachedTheEnd = false;
    for (unsigned n = 1; n <= 400; ++n) {
        Outcome out;
        ASSERT_TRUE(Scan(mech, frame, out)) << n;
        if (allocation) plat::host::FailAllocationAt(n);
        else plat::host::FailWriteAt(n);
        Transfer(mech, out);
        const bool unused = allocation ? AllocationFailureUnused(n) : WriteFailureUnused(n, scratch);
        if (unused) {
            // Past the last operation: this was a clean transfer.
            EXPECT_EQ(out.rc, TWRC_XFERDONE);
            EXPECT_TRUE(out.imageExact);
            EXPECT_TRUE(out.messages.empty());
            ReportNote(std::string(MechName(mech)) + (frame == Frame::TwoBands ? ", 2 bands: " : ": ") +
                       std::to_string(n - 1) + (allocation ? " allocations, " : " writes, ") +
                       std::to_string(failed) + " of them fail the transfer");
            EndAsApplication(out);
            reachedTheEnd = true;
            break;
        }
        ReportCell(fault + std::to_string(n) + (frame == Frame::TwoBands ? ", 2 bands" : ""),
                   MechName(mech), out);
        EXPECT_TRUE(out.tempFiles.empty()) << n;
        EXPECT_EQ(out.leakedBlocks, 0) << n;
        EXPECT_FALSE(out.earlierFileLost) << n;
        if (out.rc == TWRC_XFERDONE) {
            // Survived: a smaller buffer, or a block whose loss the writer works around.
            EXPECT_TRUE(out.imageExact) << n;
            EXPECT_TRUE(out.messages.empty()) << n;
            EXPECT_FALSE(out.closeRequest) << n;
        } else {
            ++failed;
            EXPECT_EQ(out.rc, TWRC_FAILURE) << n;
            EXPECT_EQ(out.cc, allocation ? TWCC_LOWMEMORY : TWCC_OPERATIONERROR) << n;
            EXPECT_EQ(out.messages, std::vector<uint32_t>{allocation ? 604u : 619u})
                << n << " " << ::testing::PrintToString(out.texts);
            EXPECT_TRUE(out.closeRequest) << n;
        }
        EXPECT_EQ(out.state, 700) << n;
        EndAsApplication(out);
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(reachedTheEnd) << "the transfer still had operations to fail after 400";
    ExpectCleanScan(mech);
}

// The same from the enabling call on: the scan job's own allocations (shading buffer, drop
// maps, tables) fail the job with its message and the close request, the source back in
// state 400; the transfer's as above.
TEST_P(ResourceMatrix, EveryAllocationFromEnablingOnFails) {
    const auto [resource, mech, frame] = GetParam();
    if (resource != Resource::Allocation) return;
    SimulateAll({{"ReuseShading", "0"}});  // every scan measures its shading anew
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    bool reachedTheEnd = false;
    for (unsigned n = 1; n <= 600 && !reachedTheEnd; ++n) {
        Outcome out;
        plat::host::FailAllocationAt(n);
        const bool scanned = Scan(mech, frame, out);
        if (scanned) Transfer(mech, out);
        if (AllocationFailureUnused(n)) {
            EXPECT_EQ(out.rc, TWRC_XFERDONE);
            EXPECT_TRUE(out.imageExact);
            EXPECT_TRUE(out.messages.empty());
            reachedTheEnd = true;
        } else {
            ReportCell("allocation failure #" + std::to_string(n) + " from enabling" +
                           (frame == Frame::TwoBands ? ", 2 bands" : ""),
                       MechName(mech), out);
            if (out.rc != TWRC_XFERDONE) {
                EXPECT_EQ(out.rc, TWRC_FAILURE) << n;
                EXPECT_EQ(out.cc, TWCC_LOWMEMORY) << n;
                EXPECT_EQ(out.messages, std::vector<uint32_t>{604u}) << n << " " << ::testing::PrintToString(out.texts);
                EXPECT_TRUE(out.closeRequest) << n;
                EXPECT_EQ(out.state, scanned ? 700 : 400) << n;
            } else {
                EXPECT_TRUE(out.imageExact) << n;
                EXPECT_TRUE(out.messages.empty()) << n;
            }
        }
        EXPECT_TRUE(out.tempFiles.empty()) << n;
        // Tables that could not be built at enabling are simply not there (at most fewer).
        EXPECT_LE(out.leakedBlocks, 0) << n;
        if (TheSource.SourceState >= 500) EndAsApplication(out);
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(reachedTheEnd) << "the scan still had allocations to fail after 600";
    ExpectCleanScan(mech);
    ASSERT_EQ(Close(), TWRC_SUCCESS);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

std::vector<ResourceCell> ResourceCells() {
    std::vector<ResourceCell> cells;
    // Native and plain memory transfers write nothing: no write cells for them.
    for (Frame f : {Frame::Small, Frame::TwoBands})
        for (Resource r : {Resource::Allocation, Resource::Write})
            for (Mech m : {Mech::Native, Mech::Memory, Mech::MemorySpooled, Mech::FileTiff,
                           Mech::FileBmp, Mech::FileSpooled})
                if (r == Resource::Allocation || (m != Mech::Native && m != Mech::Memory))
                    cells.push_back({r, m, f});
    return cells;
}

std::string ResourceName(const ::testing::TestParamInfo<ResourceCell>& info) {
    std::string name = std::string(info.param.resource == Resource::Allocation ? "Allocation_"
                                                                               : "Write_") +
                       MechName(info.param.mech) +
                       (info.param.frame == Frame::TwoBands ? "_two_bands" : "");
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Resources, ResourceMatrix, ::testing::ValuesIn(ResourceCells()),
                         ResourceName);

}  // namespace
