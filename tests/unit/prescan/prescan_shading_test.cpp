// What the prescan sends for shading when the scanner asks for it in each way, against a
// port library that only records what it is asked and answers a fixed measurement.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/host/host_control.h"
#include "prescan/prescan_shading.h"

namespace {

struct Recorded {
    std::vector<uint32_t> codes;
    uint32_t sentSamples = 0;
    std::vector<uint8_t> sentHigh;
};
Recorded gRecorded;

constexpr uint16_t kLineBytes = 6 + 6 * 4;  // four samples of each channel
constexpr uint16_t kLines = 8;

void KV_WINAPI RecordingSpiCall(void* block, uint32_t, uint32_t code) {
    gRecorded.codes.push_back(code);
    if (code == ScanRequestShadingInfo) {
        auto* info = static_cast<ShadingInfoBlock*>(block);
        info->bytesPerLine = kLineBytes;
        info->lines = kLines;
    } else if (code == ScanRequestReadShading) {
        auto* read = static_cast<ReadShadingBlock*>(block);
        for (uint32_t at = 0; at < read->bytes; ++at) read->table[0].address[at] = 0;
        for (uint32_t l = 0; l < read->lines; ++l)
            for (uint32_t p = 0; p < 12; ++p) read->table[0].address[l * kLineBytes + 2 + 2 * p] = uint8_t(100 + p);
    } else if (code == ScanRequestSendShading) {
        auto* send = static_cast<SendShadingBlock*>(block);
        gRecorded.sentSamples = send->samples;
        gRecorded.sentHigh.clear();
        for (uint16_t e = 0; e < send->highEntries; ++e)
            gRecorded.sentHigh.insert(gRecorded.sentHigh.end(), send->highTable[e].address,
                                      send->highTable[e].address + send->highTable[e].size);
    }
}

// One entry over the whole area, as a port library with room for it divides.
uint16_t KV_WINAPI WholeArea(void* area, uint32_t bytes, void* table, uint32_t unit) {
    if (bytes < unit) return 0;
    auto* entries = static_cast<ScanBufferEntry*>(table);
    std::memset(entries, 0, sizeof(ScanBufferEntry));
    entries[0].size = bytes;
    entries[0].address = static_cast<uint8_t*>(area);
    return 1;
}

class PrescanShadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        gRecorded = Recorded{};
        for (int i = 0; i < 4096; ++i) identity[i] = uint16_t(i);
        for (auto& t : store.conversion) t = identity.data();
        store.high[0] = {64, 0, 0, high.data(), {}};
        store.low[0] = {64, 0, 0, low.data(), {}};
        session.port.SPI_CALL = RecordingSpiCall;
        session.port.BUF_ADDR = WholeArea;
        session.call.store = &store;
    }
    // The set-up's reply: whether to measure, which tables to re-send.
    bool Shading(uint8_t measure, uint8_t kind) {
        session.blocks.setParameters.shadingNeeded = measure;
        session.blocks.setParameters.shadingKind = kind;
        return PrescanShading(session, 30);
    }

    std::vector<uint16_t> identity = std::vector<uint16_t>(4096);
    std::vector<uint8_t> high = std::vector<uint8_t>(64, 0x11), low = std::vector<uint8_t>(64, 0x22);
    PrescanShadingStore store{};
    PrescanSession session;
};

}  // namespace

TEST_F(PrescanShadingTest, MeasuresWhenAskedAndKeepsTheGreenPlane) {
    ASSERT_TRUE(Shading(1, kShadingKindThree));
    EXPECT_EQ(gRecorded.codes, (std::vector<uint32_t>{ScanRequestShadingInfo, ScanRequestReadShading,
                                                      ScanRequestSendShading}));
    EXPECT_EQ(gRecorded.sentSamples, 12u);  // (30 - 6) / 2, all three channels
    EXPECT_EQ(store.keptSamples, 4);
    EXPECT_EQ(high[0], 0);     // green values 101, 104, 107, 110: high bytes 0
    EXPECT_EQ(low[0], 101);
    EXPECT_EQ(low[3], 110);
    EXPECT_EQ(low[4], 0x22);  // past the plane: untouched
}

TEST_F(PrescanShadingTest, AskedOnlyForTheTablesSendsWhatTheStoreKeeps) {
    store.forceCalibration = 0;
    store.keptSamples = 40;
    ASSERT_TRUE(Shading(0, kShadingKindThree));
    EXPECT_EQ(gRecorded.codes, (std::vector<uint32_t>{ScanRequestSendShading}));
    EXPECT_EQ(gRecorded.sentSamples, 40u);
    EXPECT_EQ(gRecorded.sentHigh, std::vector<uint8_t>(64, 0x11));
}

TEST_F(PrescanShadingTest, AskedForTablesNoneKeptMeasuresInstead) {
    store.keptSamples = 0;
    ASSERT_TRUE(Shading(0, kShadingKindThree));
    EXPECT_EQ(gRecorded.codes.front(), ScanRequestShadingInfo);
    EXPECT_EQ(gRecorded.sentSamples, 12u);
}

TEST_F(PrescanShadingTest, ForcedFlagMeasuresAndIsCleared) {
    store.forceCalibration = 1;
    ASSERT_TRUE(Shading(0, 0));
    EXPECT_EQ(gRecorded.codes.size(), 3u);
    EXPECT_EQ(store.forceCalibration, 0);
    // Neither asked nor forced: nothing to send.
    gRecorded = Recorded{};
    ASSERT_TRUE(Shading(0, 0));
    EXPECT_TRUE(gRecorded.codes.empty());
}
