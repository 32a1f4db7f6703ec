// Command line of msgwatch.
#pragma once

#include <string>
#include <vector>

struct WatchOptions {
    std::string logPath;
    std::string stopPath;
    unsigned timeoutSeconds = 120;
    std::vector<int> pressOrder;  // button ids, most preferred first
};

bool ParseWatchOptions(const std::vector<std::string>& args, WatchOptions& options,
                       std::string& error);

// "ok", "cancel", ... for a message-box button id; "" when it is none of them.
const char* ButtonName(int id);
