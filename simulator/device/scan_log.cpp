#include "simulator/device/scan_log.h"

#include <cstring>
#include <memory>

#include "common/le_fields.h"

namespace {

void EncodeHeader(const ScannerRequestHeader& h, uint8_t* out) {
    StoreLe16(out, h.reserved0);
    StoreLe16(out + 2, h.status);
    StoreLe16(out + 4, h.reserved1);
}

void DecodeHeader(const uint8_t* in, ScannerRequestHeader& h) {
    h.reserved0 = LoadLe16(in);
    h.status = LoadLe16(in + 2);
    h.reserved1 = LoadLe16(in + 4);
}

constexpr size_t kSlotBytes = sizeof(ToneTableSlot);

}  // namespace

void EncodeSetParameters(const SetParametersBlock& b, uint8_t (&out)[32]) {
    EncodeHeader(b.header, out);
    StoreLe16(out + 6, b.xStart);
    StoreLe16(out + 8, b.yStart);
    StoreLe16(out + 10, b.xEnd);
    StoreLe16(out + 12, b.yEnd);
    out[14] = b.source;
    out[15] = b.fromDataSource;
    out[16] = b.colourType;
    out[17] = b.speed;
    StoreLe16(out + 18, b.resolution);
    out[20] = b.shadingNeeded;
    out[21] = b.shadingKind;
    out[22] = b.replyState;
    out[23] = b.reserved23;
    StoreLe16(out + 24, b.lampSaverMinutes);
    out[26] = b.lampSaverOnly;
    out[27] = b.reserved27;
    StoreLe32(out + 28, b.reserved28);
}

void DecodeSetParameters(const uint8_t (&in)[32], SetParametersBlock& b) {
    DecodeHeader(in, b.header);
    b.xStart = LoadLe16(in + 6);
    b.yStart = LoadLe16(in + 8);
    b.xEnd = LoadLe16(in + 10);
    b.yEnd = LoadLe16(in + 12);
    b.source = in[14];
    b.fromDataSource = in[15];
    b.colourType = in[16];
    b.speed = in[17];
    b.resolution = LoadLe16(in + 18);
    b.shadingNeeded = in[20];
    b.shadingKind = in[21];
    b.replyState = in[22];
    b.reserved23 = in[23];
    b.lampSaverMinutes = LoadLe16(in + 24);
    b.lampSaverOnly = in[26];
    b.reserved27 = in[27];
    b.reserved28 = LoadLe32(in + 28);
}

void EncodeSendGamma(const SendGammaBlock& b, uint8_t* out) {
    EncodeHeader(b.header, out);
    out[6] = b.threshold;
    out[7] = b.selector;
    for (size_t i = 0; i < kToneSlots; ++i) {
        uint8_t* slot = out + 8 + i * kSlotBytes;
        StoreLe16(slot, b.slots[i].entries);
        std::memcpy(slot + 2, b.slots[i].table, sizeof b.slots[i].table);
    }
    std::memcpy(out + 16400, b.reserved16400, sizeof b.reserved16400);
}

void DecodeSendGamma(const uint8_t* in, SendGammaBlock& b) {
    DecodeHeader(in, b.header);
    b.threshold = in[6];
    b.selector = in[7];
    for (size_t i = 0; i < kToneSlots; ++i) {
        const uint8_t* slot = in + 8 + i * kSlotBytes;
        b.slots[i].entries = LoadLe16(slot);
        std::memcpy(b.slots[i].table, slot + 2, sizeof b.slots[i].table);
    }
    std::memcpy(b.reserved16400, in + 16400, sizeof b.reserved16400);
}

void EncodeStartScan(const StartScanBlock& b, uint8_t (&out)[16]) {
    EncodeHeader(b.header, out);
    StoreLe16(out + 6, b.zero6);
    StoreLe16(out + 8, b.bytesPerLine);
    StoreLe16(out + 10, b.lines);
    std::memcpy(out + 12, b.reserved12, sizeof b.reserved12);
}

void DecodeStartScan(const uint8_t (&in)[16], StartScanBlock& b) {
    DecodeHeader(in, b.header);
    b.zero6 = LoadLe16(in + 6);
    b.bytesPerLine = LoadLe16(in + 8);
    b.lines = LoadLe16(in + 10);
    std::memcpy(b.reserved12, in + 12, sizeof b.reserved12);
}

namespace {

std::vector<uint8_t> RecordOf(uint32_t code, size_t bytes) {
    std::vector<uint8_t> record(kScanLogRecordHead + bytes);
    record[0] = uint8_t(code);
    StoreLe32(record.data() + 1, uint32_t(bytes));
    return record;
}

}  // namespace

std::vector<uint8_t> ScanLogRecord(uint32_t code, const void* block) {
    if (!block) return {};
    std::vector<uint8_t> record;
    if (code == ScanRequestSetParameters) {
        const auto& setup = *static_cast<const SetParametersBlock*>(block);
        if (setup.lampSaverOnly != 0) return {};
        record = RecordOf(code, sizeof(SetParametersBlock));
        uint8_t bytes[32];
        EncodeSetParameters(setup, bytes);
        std::memcpy(record.data() + kScanLogRecordHead, bytes, sizeof bytes);
    } else if (code == ScanRequestSendGamma) {
        record = RecordOf(code, sizeof(SendGammaBlock));
        EncodeSendGamma(*static_cast<const SendGammaBlock*>(block), record.data() + kScanLogRecordHead);
    } else if (code == ScanRequestStartScan) {
        record = RecordOf(code, sizeof(StartScanBlock));
        uint8_t bytes[16];
        EncodeStartScan(*static_cast<const StartScanBlock*>(block), bytes);
        std::memcpy(record.data() + kScanLogRecordHead, bytes, sizeof bytes);
    }
    return record;
}

namespace {

struct Replay {
    const ScannerProfile& profile;
    std::vector<LoggedScan>& scans;
    ToneState tones;
    bool haveSetup = false;
    ScanWindow window;

    bool SetUp(const uint8_t* body, std::string& error) {
        uint8_t bytes[32];
        std::memcpy(bytes, body, sizeof bytes);
        SetParametersBlock b;
        DecodeSetParameters(bytes, b);
        if (b.lampSaverOnly != 0) return error = "a lamp-saver set-up in the log", false;
        window.xStart = b.xStart, window.yStart = b.yStart;
        window.xEnd = b.xEnd, window.yEnd = b.yEnd;
        window.source = b.source;
        window.colourType = b.colourType;
        window.resolution = b.resolution;
        window.fromDataSource = b.fromDataSource == 1;
        haveSetup = true;
        return true;
    }

    bool Tones(const uint8_t* body, std::string& error) {
        const auto b = std::make_unique<SendGammaBlock>();  // 16 KiB: kept off the stack
        DecodeSendGamma(body, *b);
        if (LoadTones(tones, *b, ToneTableEntries(profile)) != ToneCheck::Ok)
            return error = "a tone-table block this scanner would refuse", false;
        return true;
    }

    bool Start(const uint8_t* body, std::string& error) {
        if (!haveSetup) return error = "a scan start before any set-up", false;
        uint8_t bytes[16];
        std::memcpy(bytes, body, sizeof bytes);
        StartScanBlock b;
        DecodeStartScan(bytes, b);
        LoggedScan& scan = scans.emplace_back();
        scan.window = window;
        scan.lines = b.lines;
        scan.bytesPerLine = b.bytesPerLine;
        scan.tones = tones;
        return true;
    }
};

size_t BodyBytes(uint8_t code) {
    switch (code) {
        case ScanRequestSetParameters: return sizeof(SetParametersBlock);
        case ScanRequestSendGamma: return sizeof(SendGammaBlock);
        case ScanRequestStartScan: return sizeof(StartScanBlock);
        default: return 0;
    }
}

}  // namespace

bool ReplayScanLog(const uint8_t* data, size_t size, const ScannerProfile& profile,
                   std::vector<LoggedScan>& scans, std::string& error) {
    scans.clear();
    Replay replay{profile, scans, {}, false, {}};
    ResetTones(replay.tones, ToneTableEntries(profile));
    for (size_t at = 0; at < size;) {
        const std::string where = " at byte " + std::to_string(at);
        if (size - at < kScanLogRecordHead) return error = "a truncated record" + where, false;
        const uint8_t code = data[at];
        const size_t bytes = LoadLe32(data + at + 1);
        if (BodyBytes(code) == 0 || bytes != BodyBytes(code))
            return error = "an unknown record" + where, false;
        if (size - at - kScanLogRecordHead < bytes) return error = "a truncated record" + where, false;
        const uint8_t* body = data + at + kScanLogRecordHead;
        const bool ok = code == ScanRequestSetParameters ? replay.SetUp(body, error)
                        : code == ScanRequestSendGamma   ? replay.Tones(body, error)
                                                         : replay.Start(body, error);
        if (!ok) return error += where, false;
        at += kScanLogRecordHead + bytes;
    }
    return true;
}
