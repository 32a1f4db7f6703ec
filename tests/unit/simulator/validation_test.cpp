// Requests the device must refuse, and the promise never to write outside the given entries.
#include <gtest/gtest.h>

#include "tests/unit/simulator/sim_fixture.h"

namespace {

constexpr uint8_t kGuard = 0xA5;

// A scanner with a 100 x 100 pixel colour scan started.
struct StartedScan : SimulatedScanner {
    uint16_t bpl = 0, lines = 0;
    StartedScan() {
        SetParametersBlock setup{};
        setup.xStart = 1200, setup.yStart = 1200, setup.xEnd = 2400, setup.yEnd = 2400;
        setup.colourType = kColourTypeColour, setup.resolution = 100, setup.fromDataSource = 1;
        EXPECT_EQ(Issue(setup, ScanRequestSetParameters), 0);
        StartScanBlock start{};
        EXPECT_EQ(Issue(start, ScanRequestStartScan), 0);
        bpl = start.bytesPerLine, lines = start.lines;
    }
    // Reads `n` lines at `at` into entries of `perEntry` lines inside a guarded area.
    uint16_t Read(uint16_t at, uint16_t n, uint16_t perEntry, uint16_t entries,
                  std::vector<uint8_t>& area, ReadDataBlock* tweak = nullptr) {
        area.assign(size_t(perEntry) * bpl * entries + 2 * 64, kGuard);
        ScanBufferEntry table[2 * kScanBufferTableEntries] = {};
        for (uint16_t i = 0; i < entries; ++i) {
            table[i].size = uint32_t(perEntry) * bpl;
            table[i].lines = perEntry;
            table[i].address = area.data() + 64 + size_t(i) * perEntry * bpl;
        }
        ReadDataBlock r{};
        r.bytesPerLine = bpl, r.lines = n, r.bytes = uint32_t(n) * bpl, r.linesRead = at;
        r.entryCount = entries, r.table = table;
        if (tweak) {
            tweak->table = table;
            r = *tweak;
        }
        return Issue(r, ScanRequestReadData);
    }
};

bool GuardsIntact(const std::vector<uint8_t>& area, size_t used) {
    for (size_t i = 0; i < 64; ++i)
        if (area[i] != kGuard) return false;
    for (size_t i = 64 + used; i < area.size(); ++i)
        if (area[i] != kGuard) return false;
    return true;
}

TEST(SimulatorValidation, UnknownCodesAndNullBlocksAreRefused) {
    SimulatedScanner s;
    GetStatusBlock block{};
    EXPECT_EQ(s.Issue(block, 10), kStatusUnknownCode);
    EXPECT_EQ(s.Issue(block, 0xFFFFFFFFu), kStatusUnknownCode);
    EXPECT_NE(DispatchRequest(s.device, nullptr, ScanRequestGetStatus), 0);
}

TEST(SimulatorValidation, RequestsOutOfOrderAreRefused) {
    SimulatedScanner s;
    StartScanBlock start{};
    EXPECT_EQ(s.Issue(start, ScanRequestStartScan), kStatusSequence);
    ShadingInfoBlock info{};
    info.one = 1;
    EXPECT_EQ(s.Issue(info, ScanRequestShadingInfo), kStatusSequence);
    StartedScan scan;
    std::vector<uint8_t> area;
    SetParametersBlock again{};
    again.xEnd = again.yEnd = 1200, again.resolution = 100, again.colourType = 3, again.fromDataSource = 1;
    EXPECT_EQ(scan.Issue(again, ScanRequestSetParameters), kStatusBusy);
    StopBlock stop{};
    scan.Issue(stop, ScanRequestStop);
    EXPECT_EQ(scan.Read(0, 10, 10, 1, area), kStatusSequence);
    EXPECT_TRUE(GuardsIntact(area, 0));
}

TEST(SimulatorValidation, ReadsThatDoNotFitAreRefusedWithoutWriting) {
    StartedScan s;
    std::vector<uint8_t> area;
    ReadDataBlock bad{};
    auto refuse = [&](uint16_t at, uint16_t n, uint16_t per, uint16_t entries, ReadDataBlock* t = nullptr) {
        EXPECT_EQ(s.Read(at, n, per, entries, area, t), kStatusInvalid) << at << " " << n;
        EXPECT_TRUE(GuardsIntact(area, 0));
    };
    refuse(0, 21, 10, 2);    // more lines than the entries hold
    refuse(95, 10, 10, 1);   // past the last line
    refuse(0, 0, 10, 1);     // nothing asked
    refuse(0, 10, 10, 17);   // more entries than a table has
    bad = ReadDataBlock{};
    bad.bytesPerLine = uint16_t(s.bpl + 3), bad.lines = 1, bad.bytes = s.bpl + 3u, bad.entryCount = 1;
    refuse(0, 0, 10, 1, &bad);  // wrong line length
    bad.bytesPerLine = s.bpl, bad.bytes = s.bpl + 1u;
    refuse(0, 0, 10, 1, &bad);  // byte count not lines x line length
    bad.bytes = s.bpl, bad.entryCount = 0;
    refuse(0, 0, 10, 1, &bad);

    ASSERT_EQ(s.Read(0, 20, 10, 2, area), 0);
    EXPECT_TRUE(GuardsIntact(area, 20u * s.bpl));
    refuse(10, 10, 10, 1);  // lines already delivered are not read again
    ASSERT_EQ(s.Read(20, 80, 30, 3, area), 0);  // last band fills part of the last entry
    EXPECT_TRUE(GuardsIntact(area, 80u * s.bpl));
}

TEST(SimulatorValidation, NullEntriesAndShadingMismatchesAreRefused) {
    StartedScan s;
    ScanBufferTable table = {};
    ReadDataBlock r{};
    r.bytesPerLine = s.bpl, r.lines = 1, r.bytes = s.bpl, r.entryCount = 1, r.table = table;
    table[0].size = s.bpl;  // no address
    EXPECT_EQ(s.Issue(r, ScanRequestReadData), kStatusInvalid);
    r.table = nullptr;
    EXPECT_EQ(s.Issue(r, ScanRequestReadData), kStatusInvalid);

    SimulatedScanner t;
    SetParametersBlock setup{};
    setup.xEnd = setup.yEnd = 1200, setup.resolution = 100, setup.colourType = 3, setup.fromDataSource = 1;
    ASSERT_EQ(t.Issue(setup, ScanRequestSetParameters), 0);
    std::vector<uint8_t> hi(300), lo(300);
    ScanBufferTable ht = {}, lt = {};
    ht[0] = {300, 0, 0, hi.data(), {}};
    lt[0] = {299, 0, 0, lo.data(), {}};  // one byte short
    SendShadingBlock send{};
    send.resolution = 100, send.samples = 300, send.highEntries = 1, send.lowEntries = 1;
    send.highTable = ht, send.lowTable = lt;
    EXPECT_EQ(t.Issue(send, ScanRequestSendShading), kStatusInvalid);
    lt[0].size = 300;
    send.samples = 299;
    EXPECT_EQ(t.Issue(send, ScanRequestSendShading), kStatusInvalid);
    send.samples = 300, send.resolution = 200;
    EXPECT_EQ(t.Issue(send, ScanRequestSendShading), kStatusInvalid);
    send.resolution = 100;
    EXPECT_EQ(t.Issue(send, ScanRequestSendShading), 0);
}

TEST(SimulatorValidation, LampSaverOnlySetUpChecksItsMinutes) {
    SimulatedScanner s(ConfigFrom({{"NeverReady", "1"}}));  // applies even before ready
    SetParametersBlock lamp{};
    lamp.lampSaverOnly = 1;
    for (uint16_t minutes : {5, 120, 255}) {
        lamp.lampSaverMinutes = minutes;
        EXPECT_EQ(s.Issue(lamp, ScanRequestSetParameters), 0) << minutes;
    }
    for (uint16_t minutes : {0, 4, 121, 254}) {
        lamp.lampSaverMinutes = minutes;
        EXPECT_NE(s.Issue(lamp, ScanRequestSetParameters), 0) << minutes;
    }
    lamp.lampSaverOnly = 2;
    EXPECT_NE(s.Issue(lamp, ScanRequestSetParameters), 0);
}

}  // namespace
