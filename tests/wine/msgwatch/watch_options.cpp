#include "tests/wine/msgwatch/watch_options.h"

#include <cstdlib>

namespace {

struct ButtonId {
    const char* name;
    int id;
};

// The command ids of message-box buttons (IDOK ... IDCONTINUE).
const ButtonId kButtons[] = {{"ok", 1},    {"cancel", 2},   {"abort", 3},
                             {"retry", 4}, {"ignore", 5},   {"yes", 6},
                             {"no", 7},    {"tryagain", 10}, {"continue", 11}};

// Pressing OK is the usual answer; Cancel before Yes so that a question is declined
// unless the test asks otherwise.
const char* const kDefaultOrder = "ok,cancel,no,abort,continue,ignore,retry,tryagain,yes";

bool ParsePressOrder(const std::string& list, std::vector<int>& order, std::string& error) {
    order.clear();
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma == std::string::npos ? comma : comma - start);
        int id = 0;
        for (const ButtonId& b : kButtons)
            if (name == b.name) id = b.id;
        if (id == 0) {
            error = "unknown button \"" + name + "\" in --press";
            return false;
        }
        order.push_back(id);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

}  // namespace

const char* ButtonName(int id) {
    for (const ButtonId& b : kButtons)
        if (b.id == id) return b.name;
    return "";
}

bool ParseWatchOptions(const std::vector<std::string>& args, WatchOptions& options,
                       std::string& error) {
    std::string press = kDefaultOrder;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (args[i - 1] == "--log") {
            options.logPath = value;
        } else if (args[i - 1] == "--stop") {
            options.stopPath = value;
        } else if (args[i - 1] == "--timeout") {
            options.timeoutSeconds = unsigned(std::strtoul(value.c_str(), nullptr, 10));
        } else if (args[i - 1] == "--press") {
            press = value;
        } else {
            error = "unknown option " + args[i - 1];
            return false;
        }
    }
    if (options.logPath.empty() || options.stopPath.empty() || options.timeoutSeconds == 0) {
        error = "usage: msgwatch --log FILE --stop FILE [--timeout SECONDS] [--press ok,...]";
        return false;
    }
    return ParsePressOrder(press, options.pressOrder, error);
}
