#include "simulator/device/config.h"

#include <cstdlib>

#include "common/ascii_text.h"

namespace {

// Decimal or 0x-prefixed hexadecimal, nothing else; at most max.
bool ParseNumber(const std::string& text, uint32_t max, uint32_t& out) {
    if (text.empty()) return false;
    int base = 10;
    size_t i = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    }
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        value = value * base + digit;
        if (value > max) return false;
    }
    out = uint32_t(value);
    return true;
}

bool ParseFlag(const std::string& text, bool& out) {
    if (text == "1" || EqualsIgnoreCase(text.c_str(), "yes")) return out = true, true;
    if (text == "0" || EqualsIgnoreCase(text.c_str(), "no")) return out = false, true;
    return false;
}

// "STATUS@LINE" or "STATUS@LINE*COUNT", optionally followed by "+THEN".
bool ParseReadFault(const std::string& whole, ReadFault& out) {
    const size_t plus = whole.find('+');
    uint32_t then = 0;
    if (plus != std::string::npos && (!ParseNumber(whole.substr(plus + 1), 0xFFFF, then) || then == 0))
        return false;
    const std::string text = whole.substr(0, plus);
    const size_t at = text.find('@');
    if (at == std::string::npos) return false;
    const size_t star = text.find('*', at);
    uint32_t status, line, count = 1;
    if (!ParseNumber(text.substr(0, at), 0xFFFF, status) || status == 0) return false;
    if (!ParseNumber(text.substr(at + 1, star == std::string::npos ? std::string::npos
                                                                     : star - at - 1),
                     0xFFFF, line))
        return false;
    if (star != std::string::npos && (!ParseNumber(text.substr(star + 1), 0xFFFF, count) ||
                                      count == 0))
        return false;
    out = {uint16_t(status), line, count, uint16_t(then)};
    return true;
}

bool ParseCalibration(const std::string& text, uint16_t (&out)[4]) {
    uint16_t values[4];
    size_t start = 0;
    for (int k = 0; k < 4; ++k) {
        const size_t comma = text.find(',', start);
        if ((k < 3) != (comma != std::string::npos)) return false;
        uint32_t v;
        if (!ParseNumber(text.substr(start, comma - start), 0xFFFF, v)) return false;
        values[k] = uint16_t(v);
        start = comma + 1;
    }
    for (int k = 0; k < 4; ++k) out[k] = values[k];
    return true;
}

struct Parser {
    const ConfigLookup& lookup;
    std::vector<std::string>& problems;

    // Calls apply with the key's value; a false result records a problem.
    template <typename Apply>
    void Key(const char* key, Apply apply) {
        std::string value;
        if (!lookup(key, value)) return;
        if (!apply(value)) problems.push_back(std::string(key) + "=" + value + ": not usable");
    }
    template <typename T>
    void Number(const char* key, uint32_t max, T& field) {
        Key(key, [&](const std::string& v) {
            uint32_t n;
            if (!ParseNumber(v, max, n)) return false;
            field = T(n);
            return true;
        });
    }
    void Flag(const char* key, bool& field) {
        Key(key, [&](const std::string& v) { return ParseFlag(v, field); });
    }
};

void ParseProfileKeys(Parser& p, ScannerProfile& profile) {
    p.Key("Model", [&](const std::string& v) {
        uint32_t dpi;
        if (!ParseNumber(v, 0xFFFF, dpi) || !IsKnownOpticalResolution(dpi)) return false;
        profile.opticalResolution = uint16_t(dpi);
        return true;
    });
    p.Key("Bed", [&](const std::string& v) {
        if (EqualsIgnoreCase(v.c_str(), "wide")) return profile.narrowBed = false, true;
        if (EqualsIgnoreCase(v.c_str(), "narrow")) return profile.narrowBed = true, true;
        return false;
    });
    p.Flag("Transparency", profile.transparencyUnit);
    p.Flag("Feeder", profile.documentFeeder);
    p.Key("Firmware", [&](const std::string& v) {
        if (v.size() != 3) return false;
        for (int i = 0; i < 3; ++i) profile.firmware[i] = v[i];
        return true;
    });
    p.Number("Variant", 0xFF, profile.hardwareVariant);
    p.Number("Capability", 0xFF, profile.capability);
    p.Key("Calibration", [&](const std::string& v) {
        return ParseCalibration(v, profile.calibration);
    });
    p.Key("ResolutionDigits", [&](const std::string& v) {
        if (EqualsIgnoreCase(v.c_str(), "source"))
            return profile.digits = ResolutionDigits::DataSource, true;
        if (EqualsIgnoreCase(v.c_str(), "prescan"))
            return profile.digits = ResolutionDigits::Prescan, true;
        return false;
    });
}

void ParseFaultKeys(Parser& p, FaultScript& faults) {
    p.Number("Handle", 0xFFFFFFFFu, faults.scannerHandle);
    p.Number("InquiryStatus", 0xFFFF, faults.inquiryStatus);
    p.Flag("NeverReady", faults.neverReady);
    p.Number("SetupStatus", 0xFFFF, faults.setupStatus);
    p.Key("StartReply", [&](const std::string& v) {
        if (EqualsIgnoreCase(v.c_str(), "normal"))
            return faults.startReply = StartReplyFault::None, true;
        if (EqualsIgnoreCase(v.c_str(), "zero-lines"))
            return faults.startReply = StartReplyFault::ZeroLines, true;
        if (EqualsIgnoreCase(v.c_str(), "zero-bytes"))
            return faults.startReply = StartReplyFault::ZeroBytesPerLine, true;
        if (EqualsIgnoreCase(v.c_str(), "oversized"))
            return faults.startReply = StartReplyFault::Oversized, true;
        return false;
    });
    p.Key("ReadFault", [&](const std::string& v) {
        if (v.empty()) return faults.readFault = ReadFault{}, true;
        return ParseReadFault(v, faults.readFault);
    });
    p.Number("StopStatus", 0xFFFF, faults.stopStatus);
    p.Number("HangAfterLine", 0xFFFF, faults.hangAfterLine);
}

}  // namespace

void ParseConfig(const ConfigLookup& lookup, SimulatorConfig& config,
                 std::vector<std::string>& problems) {
    Parser p{lookup, problems};
    ParseProfileKeys(p, config.profile);
    ParseFaultKeys(p, config.faults);
    p.Key("Original", [&](const std::string& v) {
        config.original = EqualsIgnoreCase(v.c_str(), "chart") ? std::string() : v;
        return true;
    });
    p.Key("OriginalDpi", [&](const std::string& v) {
        uint32_t dpi;
        if (!ParseNumber(v, 4800, dpi) || dpi < 10) return false;
        config.originalDpi = dpi;
        return true;
    });
    p.Number("ShadingLines", 255, config.shadingLines);
    p.Flag("ReuseShading", config.reuseShading);
    p.Number("WarmupPolls", 1000000, config.warmupPolls);
    p.Number("WarmupMs", 600000, config.warmupMs);
    p.Number("LineRate", 1000000, config.lineRate);
    p.Number("FeederPages", 1000000, config.feederPages);
    p.Flag("CoverOpen", config.coverOpen);
    p.Number("Seed", 0xFFFFFFFFu, config.sensorSeed);
    p.Key("ScanLog", [&](const std::string& v) { return config.scanLog = v, true; });
}

const std::vector<const char*>& ConfigKeys() {
    static const std::vector<const char*> keys = {
        "Model",       "Bed",          "Transparency",  "Feeder",     "Firmware",
        "Variant",     "Capability",   "Calibration",   "ResolutionDigits",
        "Handle",      "InquiryStatus", "NeverReady",   "SetupStatus", "StartReply",
        "ReadFault",   "StopStatus",   "HangAfterLine", "Original",  "OriginalDpi",
        "ShadingLines", "ReuseShading", "WarmupPolls",  "WarmupMs",   "LineRate",
        "FeederPages", "CoverOpen",    "Seed",          "ScanLog"};
    return keys;
}
