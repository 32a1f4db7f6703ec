#include "simulator/server/frame_log.h"

bool OpenFrameLog(const std::string& path, FrameLog& log) {
    log = FrameLog{};
    if (path.empty()) return true;
    if (path == "-") {
        log.file = stderr;
        return true;
    }
    log.file = std::fopen(path.c_str(), "a");
    log.owned = log.file != nullptr;
    return log.file != nullptr;
}

void CloseFrameLog(FrameLog& log) {
    if (log.owned) std::fclose(log.file);
    log = FrameLog{};
}

void LogLine(FrameLog& log, const std::string& line) {
    if (!log.file) return;
    std::fprintf(log.file, "relaynor: %s\n", line.c_str());
    std::fflush(log.file);
}
