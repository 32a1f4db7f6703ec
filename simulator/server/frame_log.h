// The server's log: one line per datagram, connection, refusal and frame, flushed at once so
// that a test reads it while the server runs.
#pragma once

#include <cstdio>
#include <string>

struct FrameLog {
    std::FILE* file = nullptr;  // null: nothing is logged
    bool owned = false;         // closed by CloseFrameLog
};

// "" logs nothing, "-" logs to stderr, anything else is a file appended to.
bool OpenFrameLog(const std::string& path, FrameLog& log);
void CloseFrameLog(FrameLog& log);
void LogLine(FrameLog& log, const std::string& line);
