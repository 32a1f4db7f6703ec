// What the sharing server stand-in is told on its command line: where it listens, who it
// serves, the scanner it hosts, its log and the faults it commits on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/server/allow_list.h"

// Faults for the client's tests. Frames count from 1 on each connection; 0 = never.
struct ServerFaults {
    uint32_t closeAtFrame = 0;      // close the connection when this request arrives, unanswered
    uint32_t resetAtFrame = 0;      // the same, but the client sees the connection reset
    uint32_t splitBytes = 0;        // send image data and replies in pieces of this many bytes
    uint32_t wrongCodeAtFrame = 0;  // answer this request with a whole reply of another code
    uint32_t badCodeAtFrame = 0;    // answer this request with a frame starting with badCode
    uint8_t badCode = 2;            // 2, 3 or 11: codes that have no reply
    uint32_t stallAtFrame = 0;      // wait stallSeconds before answering this request
    uint32_t stallSeconds = 0;
    uint32_t overlongAtFrame = 0;   // send bytes past the end of this request's reply
};

struct ServerOptions {
    uint32_t bindAddress = 0x7F000001u;  // host order; 0.0.0.0 hears broadcasts too
    uint16_t discoveryPort = 6001;
    uint16_t requestPort = 7000;
    std::string answer = "READY";    // the first discovery answer (the client wants 5 characters)
    std::string owner = "Relaynor";  // sent after the client's "thanks"; at most 15 characters
    std::string iniPath;             // its "Scanner Simulator" section configures the scanner
    AllowList allow = LoopbackOnly();
    std::string logPath;             // every datagram, connection and frame; "-" = stderr
    ServerFaults faults;
    bool window = false;             // Windows: a top-level window of class "Relaynor"
    uint32_t clients = 0;            // end after serving this many clients; 0 = serve for ever
};

// Parses the arguments after the program name. False with a message in `error` for an
// unknown option, a missing or unusable value.
bool ParseServerOptions(const std::vector<std::string>& args, ServerOptions& options,
                        std::string& error);

// The usage text.
const char* ServerUsage();
