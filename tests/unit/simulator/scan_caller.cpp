#include "tests/unit/simulator/scan_caller.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

uint16_t Level(uint16_t v, uint32_t i) {
    if (i < 2048) return v;
    const int32_t n = int32_t(v) * 4095 - 1023 * int32_t(i);
    const int32_t q = n / int32_t(i), r = n % int32_t(i);
    return q < 0 ? 0 : uint16_t(int32_t(i) < 2 * r ? q + 1 : q);
}

uint16_t Sample(const uint8_t* line, uint32_t offset) {
    return uint16_t((line[offset] | (line[offset + 1] << 8)) & 4095);
}

// Trimmed average over `count` lines of the sample at byte `offset`.
uint32_t Trimmed(const uint8_t* lines, uint32_t bpl, uint32_t count, uint32_t offset,
                 uint32_t dropLow, uint32_t dropHigh) {
    std::vector<uint16_t> v(count);
    for (uint32_t n = 0; n < count; ++n) v[n] = Sample(lines + size_t(n) * bpl, offset);
    std::sort(v.begin(), v.end());
    uint32_t sum = 0;
    for (uint32_t k = dropLow; k < count - dropHigh; ++k) sum += v[k];
    return sum / (count - dropLow - dropHigh);
}

std::vector<uint16_t> ToPlanes(const std::vector<uint16_t>& interleaved, uint32_t channels) {
    const size_t cells = interleaved.size() / channels;
    std::vector<uint16_t> planes(interleaved.size());
    for (size_t i = 0; i < interleaved.size(); ++i) planes[(i % channels) * cells + i / channels] = interleaved[i];
    return planes;
}

struct Table {
    std::vector<uint8_t> area;
    ScanBufferTable entries = {};
    uint16_t count = 0;
};

// Allocates bytes, divides it into whole units and rewrites every entry to the first's lines,
// as the read loop does.
bool MakeTable(ScanCaller& c, uint32_t bytes, uint32_t unit, Table& t) {
    t.area.assign(bytes, 0);
    t.count = c.divide(t.area.data(), bytes, t.entries, unit);
    if (t.count == 0) return false;
    const uint32_t per = std::min<uint32_t>(t.entries[0].size / unit, 32767);
    for (uint16_t i = 0; i < t.count; ++i) {
        t.entries[i].size = per * unit;
        t.entries[i].lines = uint16_t(per);
    }
    return true;
}

template <typename Block>
bool Issue(ScanCaller& c, Block& block, uint32_t code) {
    c.issue(&block, code);
    if (block.header.status == 0) return true;
    c.failedCode = code;
    c.failedStatus = block.header.status;
    return false;
}

bool WaitReady(ScanCaller& c) {
    for (int i = 0; i < 100000; ++i) {
        GetStatusBlock s{};
        c.issue(&s, ScanRequestGetStatus);
        if (s.header.status != 0) {
            c.failedCode = ScanRequestGetStatus;
            c.failedStatus = s.header.status;
            return false;
        }
        if (s.ready == 1) return true;
    }
    c.failedCode = ScanRequestGetStatus;
    return false;
}

bool Calibrate(ScanCaller& c, const SetParametersBlock& setup) {
    ShadingInfoBlock info{};
    info.one = 1;
    if (!Issue(c, info, ScanRequestShadingInfo)) return false;
    Table t;
    if (!MakeTable(c, uint32_t(info.bytesPerLine) * info.lines, info.bytesPerLine, t)) return false;
    ReadShadingBlock read{};
    read.resolution = setup.resolution;
    read.bytesPerLine = info.bytesPerLine;
    read.lines = info.lines;
    read.bytes = uint32_t(info.bytesPerLine) * info.lines;
    read.table = t.entries;
    if (!Issue(c, read, ScanRequestReadShading)) return false;
    // Entries hold whole lines; gather them in order.
    std::vector<uint8_t> lines;
    for (uint16_t i = 0; i < t.count && lines.size() < read.bytes; ++i)
        lines.insert(lines.end(), t.entries[i].address, t.entries[i].address + t.entries[i].size);
    lines.resize(read.bytes);
    const bool colour = setup.shadingKind == kShadingKindThree;
    c.storedCoefficients = c.prescanReading
        ? PrescanCoefficients(lines.data(), info.bytesPerLine, info.lines, c.calibration)
        : DataSourceCoefficients(lines.data(), info.bytesPerLine, info.lines, colour, c.calibration);
    return true;
}

bool SendCoefficients(ScanCaller& c, uint16_t resolution) {
    const uint32_t n = uint32_t(c.storedCoefficients.size());
    std::vector<uint8_t> high(n), low(n);
    for (uint32_t i = 0; i < n; ++i) {
        high[i] = uint8_t(c.storedCoefficients[i] >> 8);
        low[i] = uint8_t(c.storedCoefficients[i]);
    }
    ScanBufferTable highTable = {}, lowTable = {};
    SendShadingBlock send{};
    send.resolution = resolution;
    send.samples = n;
    send.highEntries = c.divide(high.data(), n, highTable, 1);
    send.lowEntries = c.divide(low.data(), n, lowTable, 1);
    send.highTable = highTable;
    send.lowTable = lowTable;
    return Issue(c, send, ScanRequestSendShading);
}

bool SendTones(ScanCaller& c, const ToneState& tones, bool colour) {
    auto gamma = std::make_unique<SendGammaBlock>();
    std::memset(gamma.get(), 0, sizeof(SendGammaBlock));
    gamma->threshold = tones.threshold;
    gamma->selector = colour ? kToneSelectColour : kToneSelectGray;
    for (size_t s = 0; s < kToneSlots; ++s) {
        gamma->slots[s].entries = tones.entries;
        std::memcpy(gamma->slots[s].table, tones.slots[s], tones.entries);
    }
    return Issue(c, *gamma, ScanRequestSendGamma);
}

bool ReadLines(ScanCaller& c) {
    const uint32_t bpl = c.bytesPerLine, total = c.lines;
    uint32_t wanted = std::max(bpl, std::min<uint32_t>(total * bpl, c.maxBufferBytes) / bpl * bpl);
    Table t;
    if (!MakeTable(c, wanted, bpl, t)) return false;
    const uint32_t perBuffer = t.entries[0].lines, perRequest = perBuffer * t.count;
    c.image.assign(size_t(total) * bpl, 0);
    for (uint32_t done = 0; done < total;) {
        ReadDataBlock r{};
        r.bytesPerLine = uint16_t(bpl);
        r.lines = uint16_t(std::min(perRequest, total - done));
        r.bytes = r.lines * bpl;
        r.linesRead = uint16_t(done);
        r.entryCount = t.count;
        r.table = t.entries;
        ++c.readRequests;
        c.issue(&r, ScanRequestReadData);
        if (r.header.status == kScanStatusNoPaper) {  // data not ready: once more, then accept
            r.header.status = 0;
            ++c.readRequests;
            c.issue(&r, ScanRequestReadData);
        } else if (r.header.status != 0) {
            c.failedCode = ScanRequestReadData;
            c.failedStatus = r.header.status;
            return false;
        }
        for (uint32_t k = 0; k < r.lines; ++k)
            std::memcpy(c.image.data() + size_t(done + k) * bpl,
                        t.entries[k / perBuffer].address + size_t(k % perBuffer) * bpl, bpl);
        done += r.lines;
    }
    return true;
}

}  // namespace

std::vector<uint16_t> DataSourceCoefficients(const uint8_t* lines, uint32_t bpl, uint32_t count,
                                             bool colour, const uint16_t (&calibration)[4]) {
    const uint32_t lead = colour ? 6 : 2, samples = (bpl - lead) / 2;
    std::vector<uint16_t> out(samples);
    for (uint32_t p = 0; p < samples; ++p) {
        const uint32_t avg = colour ? Trimmed(lines, bpl, count, lead + 2 * p, 6, 2)
                                    : Trimmed(lines, bpl, count, lead + 2 * p, 3, 3);
        out[p] = Level(calibration[colour ? p % 3 : 3], avg);
    }
    return ToPlanes(out, colour ? 3 : 1);
}

std::vector<uint16_t> PrescanCoefficients(const uint8_t* lines, uint32_t bpl, uint32_t count,
                                          const uint16_t (&calibration)[4]) {
    const uint32_t positions = (bpl - 6) / 2;
    std::vector<uint16_t> out(positions);
    for (uint32_t p = 0; p < positions; ++p) {
        std::vector<uint16_t> v(count);
        for (uint32_t n = 0; n < count; ++n) v[n] = Sample(lines + size_t(n) * bpl, 2 + 2 * p);
        std::sort(v.begin(), v.end());
        uint16_t sum = 0;  // a 16-bit sum, as the library keeps it
        for (uint32_t k = 3; k < count - 3; ++k) sum = uint16_t(sum + v[k]);
        out[p] = Level(calibration[p % 3], sum / (count - 6));
    }
    return ToPlanes(out, 3);
}

bool RunScan(ScanCaller& c, const ScanWindow& w, const ToneState* tones) {
    c.failedCode = 0xFFFF;
    c.failedStatus = 0;
    c.readRequests = 0;
    c.image.clear();
    InquiryBlock inquiry{};
    if (!Issue(c, inquiry, ScanRequestInquiry)) return false;
    for (int k = 0; k < 4; ++k)
        c.calibration[k] = uint16_t(inquiry.calibration[k][0] | (inquiry.calibration[k][1] << 8));
    if (!WaitReady(c)) return false;
    SetParametersBlock setup{};
    setup.xStart = w.xStart, setup.yStart = w.yStart, setup.xEnd = w.xEnd, setup.yEnd = w.yEnd;
    setup.source = w.source;
    setup.fromDataSource = w.fromDataSource ? 1 : 0;
    setup.colourType = w.colourType;
    setup.resolution = w.resolution;
    setup.lampSaverMinutes = 20;
    if (!Issue(c, setup, ScanRequestSetParameters)) return false;
    c.shadingNeeded = setup.shadingNeeded;
    c.shadingKind = setup.shadingKind;
    if (setup.shadingNeeded == 1 && !Calibrate(c, setup)) return false;
    if (!SendCoefficients(c, setup.resolution)) return false;
    ToneState identity;
    ResetTones(identity, inquiry.opticalResolution[0] == '1' ? 4096 : 256);
    identity.threshold = 127;
    const bool colour = w.colourType == kColourTypeColour || w.colourType == kColourTypeColour36;
    if (!SendTones(c, tones ? *tones : identity, colour)) return false;
    StartScanBlock start{};
    if (!Issue(c, start, ScanRequestStartScan)) return false;
    c.bytesPerLine = start.bytesPerLine;
    c.lines = start.lines;
    if (!WaitReady(c)) return false;
    if (c.lines == 0 || c.bytesPerLine == 0) return true;
    if (!ReadLines(c)) return false;
    return WaitReady(c);
}
