// Everything that chooses the simulated scanner and its misbehaviour, as read from the
// simulator's profile section. Parsing is separate from where the keys come from, so the port
// library reads WIN.INI while tests and tools pass their own key lookup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "simulator/device/profile.h"

enum class StartReplyFault : uint8_t { None, ZeroLines, ZeroBytesPerLine, Oversized };

// A read of the band that holds `line` answers `status` instead of data, `count` times.
struct ReadFault {
    uint16_t status = 0;
    uint32_t line = 0;
    uint32_t count = 0;
    uint16_t then = 0;  // answered once by the read after the COUNT faulty ones; 0 = none
};

struct FaultScript {
    uint32_t scannerHandle = 1;  // what ADDR_CHK answers; 0 = no scanner on the port
    uint16_t inquiryStatus = 0;  // 255 not ready, other non-zero: port held by the server
    bool neverReady = false;
    uint16_t setupStatus = 0;  // answered by every full set-up
    StartReplyFault startReply = StartReplyFault::None;
    ReadFault readFault;
    uint16_t stopStatus = 0;  // status of GetStatus after a stop
    // After delivering the band that holds this line the scanner hangs until power-off:
    // reads answer busy and GetStatus never reports ready. kNoHang: never.
    uint32_t hangAfterLine = kNoHang;
    static constexpr uint32_t kNoHang = 0xFFFFFFFFu;
};

struct SimulatorConfig {
    ScannerProfile profile;
    FaultScript faults;
    std::string original;          // empty: the built-in chart; else a PNM image file
    uint32_t originalDpi = 100;    // resolution of the image file on the bed
    uint16_t shadingLines = 16;    // shading lines announced and delivered
    bool reuseShading = true;      // a repeated set-up asks only for the stored tables
    uint32_t warmupPolls = 0;      // status polls answered "not ready" after power-up
    uint32_t warmupMs = 0;         // and at least this long after power-up
    uint32_t lineRate = 0;         // lines per second; 0 = as fast as asked
    uint32_t feederPages = 1;      // pages in the document feeder
    bool coverOpen = false;        // transparency unit cover
    uint32_t sensorSeed = 1;       // pattern of the column-to-column gain differences
    std::string scanLog;           // file the accepted set-ups, tone tables and starts go to
};

// The profile section the port library reads its keys from.
constexpr const char* kSimulatorSection = "Scanner Simulator";

// Returns true and the value when the key is present.
using ConfigLookup = std::function<bool(const char* key, std::string& value)>;

// Fills config from the keys present; a key with an unusable value keeps its default and
// adds a line to problems.
void ParseConfig(const ConfigLookup& lookup, SimulatorConfig& config,
                 std::vector<std::string>& problems);

// Every key ParseConfig reads, for the documentation check and for tools that list them.
const std::vector<const char*>& ConfigKeys();
