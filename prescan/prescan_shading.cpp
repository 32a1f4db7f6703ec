#include "prescan/prescan_shading.h"

#include <algorithm>

#include "common/scan_buffers.h"
#include "common/white_reference.h"
#include "prescan/prescan_messages.h"
#include "prescan/prescan_requests.h"

namespace {

constexpr uint32_t kLead = 2;                // bytes before the first sample
constexpr uint32_t kFixedBytes = 6;          // lead plus trailing bytes of a line
constexpr uint32_t kFewestLines = 7;         // three dropped at each end, one kept
constexpr uint32_t kMaxShadingBytes = 4194304;

// Copies `bytes` into the entries of a table in order, as far as they reach.
void FillEntries(ScanBufferEntry* table, const uint8_t* from, uint32_t bytes) {
    for (uint16_t i = 0; i < kScanBufferTableEntries && bytes > 0; ++i) {
        ScanBufferEntry& e = table[i];
        if (!e.address || e.size == 0) break;
        const uint32_t take = std::min(e.size, bytes);
        std::copy(from, from + take, e.address);
        from += take;
        bytes -= take;
    }
}

// Entries in use: the leading ones with memory behind them.
uint16_t UsedEntries(const ScanBufferEntry* table) {
    uint16_t n = 0;
    while (n < kScanBufferTableEntries && table[n].address && table[n].size) ++n;
    return n;
}

bool Send(PrescanSession& s, uint16_t resolution, uint32_t samples, ScanBufferEntry* high,
          uint16_t highEntries, ScanBufferEntry* low, uint16_t lowEntries) {
    SendShadingBlock& send = s.blocks.sendShading;
    send = SendShadingBlock{};
    send.resolution = resolution;
    send.samples = samples;
    send.highEntries = highEntries;
    send.lowEntries = lowEntries;
    send.highTable = high;
    send.lowTable = low;
    if (!PrescanRequest(s, ScanRequestSendShading, &send)) return false;
    if (send.header.status != 0) {
        ReportStatus(s, send.header.status);
        return false;
    }
    return true;
}

bool SendCoefficients(PrescanSession& s, uint16_t resolution, PrescanCoefficients& c) {
    ScanBufferTable highTable{}, lowTable{};
    const uint16_t highCount =
        DivideIntoTable(s.port.BUF_ADDR, c.high.data(), c.samples, c.samples, highTable);
    const uint16_t lowCount =
        DivideIntoTable(s.port.BUF_ADDR, c.low.data(), c.samples, c.samples, lowTable);
    // A division the port library answered wrongly would have the scanner read elsewhere.
    if (!TableWithinArray(highTable, highCount, c.high.data(), c.samples) ||
        !TableWithinArray(lowTable, lowCount, c.low.data(), c.samples)) {
        ShowPrescanMessage(s, kPrescanNotReady);
        return false;
    }
    return Send(s, resolution, c.samples, highTable, highCount, lowTable, lowCount);
}

// What the store keeps, for a scanner that asks only for the tables it had.
bool SendKept(PrescanSession& s, uint16_t resolution) {
    PrescanShadingStore& store = *s.call.store;
    return Send(s, resolution, store.keptSamples, store.high, UsedEntries(store.high), store.low,
                UsedEntries(store.low));
}

std::vector<const uint8_t*> LineStarts(const ScanBuffers& buf, uint32_t lines, uint32_t lineBytes) {
    std::vector<const uint8_t*> starts;
    for (uint16_t i = 0; i < buf.count && starts.size() < lines; ++i)
        for (uint32_t at = 0; at + lineBytes <= buf.table[i].size && starts.size() < lines;
             at += lineBytes)
            starts.push_back(buf.table[i].address + at);
    return starts;
}

// ShadingInfo, ReadShading and the coefficients. `reported` tells a failure already shown.
bool Measure(PrescanSession& s, uint16_t resolution, PrescanCoefficients& c) {
    ShadingInfoBlock& info = s.blocks.shadingInfo;
    info = ShadingInfoBlock{};
    info.one = 1;
    if (!PrescanRequest(s, ScanRequestShadingInfo, &info)) return false;
    if (info.header.status != 0) {
        ReportStatus(s, info.header.status);
        return false;
    }
    const uint32_t lineBytes = info.bytesPerLine;
    if (lineBytes <= kFixedBytes || info.lines < kFewestLines) return false;
    // Short of memory, the buffer holds fewer lines: the measurement takes those, if enough.
    ScanBuffers buf;
    if (!AllocScanBuffers(buf, lineBytes, info.lines, s.port.DefaultPortLibrary, s.port.BUF_ADDR,
                          kMaxShadingBytes))
        return false;
    const uint32_t lines = std::min<uint32_t>(info.lines, buf.linesPerRequest);
    bool ok = lines >= kFewestLines;
    if (ok) {
        ReadShadingBlock& read = s.blocks.readShading;
        read = ReadShadingBlock{};
        read.resolution = resolution;
        read.bytesPerLine = static_cast<uint16_t>(lineBytes);
        read.lines = static_cast<uint16_t>(lines);
        read.bytes = lineBytes * lines;
        read.table = buf.table;
        ok = PrescanRequest(s, ScanRequestReadShading, &read);
        if (ok && read.header.status != 0) {
            ReportStatus(s, read.header.status);
            ok = false;
        }
    }
    if (ok) {
        const std::vector<const uint8_t*> starts = LineStarts(buf, lines, lineBytes);
        ok = starts.size() == lines &&
             ComputePrescanCoefficients(starts.data(), lines, lineBytes, s.call.store->conversion, c);
    }
    FreeScanBuffers(buf);
    return ok;
}

bool StoreHasTables(const PrescanShadingStore* store) {
    return store && store->conversion[0] && store->conversion[1] && store->conversion[2];
}

}  // namespace

bool ComputePrescanCoefficients(const uint8_t* const* lines, uint32_t lineCount, uint32_t lineBytes,
                                const uint16_t* const (&conversion)[3], PrescanCoefficients& out) {
    if (lineBytes <= kFixedBytes || !conversion[0] || !conversion[1] || !conversion[2]) return false;
    const uint32_t perChannel = (lineBytes - kFixedBytes) / 6;
    const uint32_t positions = perChannel * 3;
    std::vector<uint16_t> averages(positions);
    if (!WhiteReferences(lines, lineCount, kLead, positions, false, averages.data())) return false;
    out.samples = positions;
    out.high.assign(positions, 0);
    out.low.assign(positions, 0);
    for (uint32_t p = 0; p < positions; ++p) {
        const uint32_t channel = p % 3;
        const uint16_t value = conversion[channel][averages[p]];
        const uint32_t at = channel * perChannel + p / 3;
        out.high[at] = static_cast<uint8_t>(value >> 8);
        out.low[at] = static_cast<uint8_t>(value);
    }
    return true;
}

void KeepGreenPlane(const PrescanCoefficients& c, PrescanShadingStore& store) {
    const uint32_t perChannel = c.samples / 3;
    FillEntries(store.high, c.high.data() + perChannel, perChannel);
    FillEntries(store.low, c.low.data() + perChannel, perChannel);
    store.keptSamples = static_cast<uint16_t>(std::min<uint32_t>(perChannel, 0xFFFF));
}

bool PrescanShading(PrescanSession& s, uint16_t resolution) {
    PrescanShadingStore* store = s.call.store;
    if (s.remote) {
        // The server measures and sends the coefficients itself.
        if (!PrescanRequest(s, ScanRequestRemoteShading, nullptr)) return false;
        if (store) store->forceCalibration = 0;
        return true;
    }
    const SetParametersBlock& setUp = s.blocks.setParameters;
    const bool forced = store && store->forceCalibration != 0;
    const bool askedForKept = setUp.shadingKind == kShadingKindThree;
    // Tables kept by the data source are sent when the scanner asks for them; with none kept
    // the only coefficients that can be had are measured ones.
    const bool keptUsable = store && store->keptSamples != 0 && UsedEntries(store->high) &&
                            UsedEntries(store->low);
    bool sent = true;
    if (setUp.shadingNeeded == 1 || forced || (askedForKept && !keptUsable)) {
        if (!StoreHasTables(store)) return false;
        PrescanCoefficients c;
        if (!Measure(s, resolution, c)) return false;
        KeepGreenPlane(c, *store);
        sent = SendCoefficients(s, resolution, c);
    } else if (askedForKept) {
        sent = SendKept(s, resolution);
    }
    if (sent && store) store->forceCalibration = 0;
    return sent;
}
