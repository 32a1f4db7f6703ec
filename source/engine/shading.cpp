#include "engine/shading.h"

#include <algorithm>
#include <vector>

#include "engine/abort_scan.h"
#include "engine/level_correction.h"
#include "common/scan_buffers.h"
#include "engine/scan_job_state.h"
#include "common/white_reference.h"
#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "session/messages.h"

ShadingStore TheShadingStore;

namespace {

constexpr uint32_t kMaxShadingBytes = 4194304;

bool ShadingFailed() {
    ShowErrorMessage(TheScanJob.owner, 627);
    return false;
}

// The white levels are converted through the level-correction tables built at enabling; when
// memory was short then, they are built now. Without them the coefficients would leave
// every column's own white in the image.
bool LevelCorrectionReady() {
    for (plat::MemHandle h : LevelCorrectionTables.table)
        if (!h) return BuildLevelCorrectionTables(TheLink.calibration);
    return true;
}

// The fewest shading lines the white level can drop its extremes from.
uint32_t FewestShadingLines(bool colour) { return colour ? 9 : 7; }

// The start of every shading line, taken from the table's entries in order.
std::vector<const uint8_t*> ShadingLines(const ScanBuffers& buf, uint32_t lines, uint32_t lineBytes) {
    std::vector<const uint8_t*> starts;
    starts.reserve(lines);
    for (uint16_t i = 0; i < buf.count && starts.size() < lines; ++i)
        for (uint32_t at = 0; at + lineBytes <= buf.table[i].size && starts.size() < lines; at += lineBytes)
            starts.push_back(buf.table[i].address + at);
    return starts;
}

// Averages every sample position, converts it through its channel's level-correction table
// and lays the results out channel after channel (all red, then green, then blue).
bool ComputeCoefficients(const ScanBuffers& buf, uint32_t lineBytes, uint32_t lines, bool colour,
                         ShadingStore& store) {
    const uint32_t lead = colour ? 6 : 2;
    if (lineBytes <= lead) return false;
    const uint32_t samples = (lineBytes - lead) / 2;
    const uint32_t channels = colour ? 3 : 1;
    const uint32_t perChannel = samples / channels;
    std::vector<const uint16_t*> tables(channels);
    std::vector<uint16_t> locked[4];
    for (uint32_t c = 0; c < channels; ++c) {
        const int table = colour ? int(c) : 3;
        auto* entries = static_cast<uint16_t*>(plat::MemLock(LevelCorrectionTables.table[table]));
        if (entries) {
            locked[c].assign(entries, entries + kLevelCorrectionEntries);
            plat::MemUnlock(LevelCorrectionTables.table[table]);
        }
        if (locked[c].empty()) return false;
        tables[c] = locked[c].data();
    }
    const std::vector<const uint8_t*> starts = ShadingLines(buf, lines, lineBytes);
    if (starts.size() < lines) return false;
    std::vector<uint16_t> averages(perChannel * channels);
    if (!WhiteReferences(starts.data(), lines, lead, perChannel * channels, colour, averages.data()))
        return false;
    store.high.assign(perChannel * channels, 0);
    store.low.assign(perChannel * channels, 0);
    store.colour = colour;
    for (uint32_t s = 0; s < perChannel * channels; ++s) {
        const uint32_t channel = s % channels;
        const uint16_t value = tables[channel][averages[s]];
        const uint32_t out = channel * perChannel + s / channels;
        store.high[out] = static_cast<uint8_t>(value >> 8);
        store.low[out] = static_cast<uint8_t>(value);
    }
    return true;
}

// The shading lines into the buffer, and their white levels into the store.
bool ReadAndAverage(const ScanBuffers& buf, uint32_t lineBytes, uint32_t lines,
                    const ShadingRequest& request) {
    ReadShadingBlock& read = TheRequests.readShading;
    read.resolution = request.resolution;
    read.bytesPerLine = static_cast<uint16_t>(lineBytes);
    read.lines = static_cast<uint16_t>(lines);
    read.bytes = lineBytes * lines;
    read.table = const_cast<ScanBufferEntry*>(buf.table);
    if (!ScannerRequest(ScanRequestReadShading, &read)) return false;
    if (read.header.status != 0) return ShadingFailed();
    if (!ComputeCoefficients(buf, lineBytes, lines, request.colour, TheShadingStore))
        return ShadingFailed();
    return true;
}

bool Measure(const ShadingRequest& request) {
    ShadingInfoBlock& info = TheRequests.shadingInfo;
    info.one = 1;
    if (!ScannerRequest(ScanRequestShadingInfo, &info)) return false;
    if (info.header.status != 0) return ShadingFailed();
    const uint32_t lineBytes = info.bytesPerLine;
    if (!LevelCorrectionReady()) {
        AbortScan(TWCC_LOWMEMORY, 604);
        return false;
    }
    // The buffer is sized like the scanner's, at most 4 MiB and smaller while memory is
    // short; the measurement takes the lines it holds, enough of them or none at all.
    ScanBuffers buf;
    if (lineBytes == 0 || info.lines == 0 ||
        !AllocScanBuffers(buf, lineBytes, info.lines, request.defaultLibrary, TheLink.port.BUF_ADDR,
                          kMaxShadingBytes)) {
        AbortScan(TWCC_LOWMEMORY, 604);
        return false;
    }
    const uint32_t lines = std::min<uint32_t>(info.lines, buf.linesPerRequest);
    if (lines < info.lines && lines < FewestShadingLines(request.colour)) {
        FreeScanBuffers(buf);
        AbortScan(TWCC_LOWMEMORY, 604);
        return false;
    }
    const bool measured = ReadAndAverage(buf, lineBytes, lines, request);
    FreeScanBuffers(buf);
    return measured;
}

bool SendCoefficients(uint16_t resolution, const ShadingStore& store) {
    const uint32_t samples = static_cast<uint32_t>(store.high.size());
    ScanBufferTable highTable{}, lowTable{};
    std::vector<uint8_t> high = store.high, low = store.low;
    const uint16_t highCount = DivideIntoTable(TheLink.port.BUF_ADDR, high.data(), samples, samples, highTable);
    const uint16_t lowCount = DivideIntoTable(TheLink.port.BUF_ADDR, low.data(), samples, samples, lowTable);
    if (!TableWithinArray(highTable, highCount, high.data(), samples) ||
        !TableWithinArray(lowTable, lowCount, low.data(), samples))
        return ShadingFailed();
    SendShadingBlock& send = TheRequests.sendShading;
    send.resolution = resolution;
    send.samples = samples;
    send.zero12 = send.zero14 = 0;
    send.highEntries = highCount;
    send.lowEntries = lowCount;
    send.highTable = highTable;
    send.lowTable = lowTable;
    if (!ScannerRequest(ScanRequestSendShading, &send)) return false;
    if (send.header.status != 0) return ShadingFailed();
    return true;
}

}  // namespace

bool CalibrateShading(const ShadingRequest& request) {
    const bool haveStored = !TheShadingStore.high.empty() && TheShadingStore.colour == request.colour;
    if (request.measure || !haveStored) {
        if (!Measure(request)) return false;
    } else if (request.resendKind != (request.colour ? 2 : 1)) {
        return true;
    }
    TheScanJob.forceShading = false;
    return SendCoefficients(request.resolution, TheShadingStore);
}
