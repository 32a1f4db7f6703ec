// msgwatch: runs beside a program under test in the same Wine prefix and display, finds every
// message box, writes one log line for it and presses a button, so that a modal box can never
// block a test and the test can still assert what the box said.
//
//   msgwatch --log FILE --stop FILE [--timeout SECONDS] [--press ok,cancel,...]
//
// The log is created (empty) at start: its existence tells the harness the watcher runs.
// Each line: caption TAB text TAB buttons shown TAB button pressed, with backslash, tab,
// CR and LF escaped, in UTF-8. The watcher ends when the stop file appears (after one last
// sweep) or when the timeout passes; its last output line is "MSGWATCH OK: N boxes" or
// "MSGWATCH FAILED: reason".
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/wine/msgwatch/box_reading.h"
#include "tests/wine/msgwatch/watch_options.h"

namespace {

constexpr DWORD kSweepMs = 50;
constexpr DWORD kRepressMs = 1000;  // a box still there after this long is pressed again

struct WatchState {
    const WatchOptions* options = nullptr;
    FILE* log = nullptr;
    std::map<HWND, DWORD> pressedAt;
    int boxes = 0;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM param) {
    auto* dialogs = reinterpret_cast<std::vector<HWND>*>(param);
    if (IsWindowVisible(window) && IsMessageBox(window)) dialogs->push_back(window);
    return TRUE;
}

void Handle(WatchState& state, HWND box) {
    auto seen = state.pressedAt.find(box);
    DWORD now = GetTickCount();
    if (seen != state.pressedAt.end()) {
        if (now - seen->second >= kRepressMs) {
            PressButton(box, state.options->pressOrder);
            seen->second = now;
        }
        return;
    }
    BoxReading reading = ReadBox(box);
    reading.pressed = PressButton(box, state.options->pressOrder);
    std::string line = LogLine(reading);
    std::fputs(line.c_str(), state.log);
    std::fflush(state.log);
    state.pressedAt[box] = now;
    ++state.boxes;
}

void Sweep(WatchState& state) {
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND box : dialogs) Handle(state, box);
    for (auto it = state.pressedAt.begin(); it != state.pressedAt.end();)
        it = IsWindow(it->first) ? std::next(it) : state.pressedAt.erase(it);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Finish(const std::string& line, int code) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    WatchOptions options;
    std::string error;
    if (!ParseWatchOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
        return Finish("MSGWATCH FAILED: " + error, 2);

    WatchState state;
    state.options = &options;
    state.log = std::fopen(options.logPath.c_str(), "wb");
    if (!state.log) return Finish("MSGWATCH FAILED: cannot create " + options.logPath, 1);

    const DWORD start = GetTickCount();
    for (;;) {
        bool stopRequested = FileExists(options.stopPath);
        Sweep(state);
        if (stopRequested) break;
        if (GetTickCount() - start >= options.timeoutSeconds * 1000u) {
            std::fclose(state.log);
            return Finish("MSGWATCH FAILED: no stop file within " +
                              std::to_string(options.timeoutSeconds) + " s",
                          1);
        }
        Sleep(kSweepMs);
    }
    std::fclose(state.log);
    return Finish("MSGWATCH OK: " + std::to_string(state.boxes) + " boxes", 0);
}
