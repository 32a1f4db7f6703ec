// Drives the data source's scanning window from outside its process as a user would: finds
// the windows, reads their texts and states, presses buttons, chooses list entries, clicks
// with the mouse and presses keys. Each argument is one step; the steps run in order and
// each prints what it saw. Ends with "UIDRIVER OK", or "UIDRIVER FAILED: <why>" and exit 1.
//
//   find SECONDS             wait for the scanning window; prints title and rectangle
//   wait TITLE SECONDS       wait for a top-level window with that title
//   gone TITLE SECONDS       wait until no window has that title
//   text PATH                a control's text (PATH as in window_finder.h)
//   enabled PATH             1 or 0
//   checked PATH             a check box's state: 1 or 0
//   wait-enabled PATH SECONDS    wait until the control is enabled
//   rect PATH|TITLE          screen rectangle of a control or a titled window
//   click PATH               press a button (BM_CLICK, through the application's queue)
//   select PATH INDEX        choose entry INDEX of a drop-down list
//   listbox PATH INDEX       choose entry INDEX of a list box
//   count PATH               entries of a drop-down list
//   tab N                    click tab N of the tab strip with the mouse
//   mouse PATH               click the middle of a control with the mouse
//   hover PATH               move the mouse onto the middle of a control
//   key NAME                 press ESCAPE, RETURN, DOWN or UP
//   escape TITLE             post an Escape key to the titled window's thread
//   sleep MS
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/uidriver/window_finder.h"

using namespace uidriver;

namespace {

struct Failure {
    std::string why;
};

std::vector<std::string> Words(const std::string& step) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < step.size()) {
        while (at < step.size() && step[at] == ' ') ++at;
        if (at >= step.size()) break;
        if (step[at] == '"') {
            const size_t end = step.find('"', at + 1);
            words.push_back(step.substr(at + 1, end - at - 1));
            at = end == std::string::npos ? step.size() : end + 1;
        } else {
            const size_t end = step.find(' ', at);
            words.push_back(step.substr(at, end - at));
            at = end == std::string::npos ? step.size() : end;
        }
    }
    return words;
}

HWND Control(const std::string& path) {
    std::string error;
    HWND control = FindControl(path, error);
    if (!control) throw Failure{error};
    return control;
}

template <typename Find>
HWND WaitFor(Find find, int seconds, const std::string& what) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(seconds) * 1000;
    for (;;) {
        if (HWND w = find()) return w;
        if (GetTickCount64() >= deadline) throw Failure{"no " + what + " within " + std::to_string(seconds) + " s"};
        Sleep(100);
    }
}

std::string RectText(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    char text[96];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return text;
}

void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    Sleep(50);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

void PressKey(WORD key) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

WORD KeyNamed(const std::string& name) {
    if (name == "ESCAPE") return VK_ESCAPE;
    if (name == "RETURN") return VK_RETURN;
    if (name == "DOWN") return VK_DOWN;
    if (name == "UP") return VK_UP;
    throw Failure{"unknown key " + name};
}

void Need(const std::vector<std::string>& w, size_t n) {
    if (w.size() < n) throw Failure{"step '" + w[0] + "' needs " + std::to_string(n - 1) + " arguments"};
}

void Select(HWND list, int index, UINT setMessage, WORD notification) {
    if (SendMessageA(list, setMessage, index, 0) != index) throw Failure{"no entry " + std::to_string(index)};
    PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), notification),
                 reinterpret_cast<LPARAM>(list));
}

void ClickTab(int tab) {
    HWND strip = Control("main:1004");
    RECT r;
    GetWindowRect(strip, &r);
    const int width = (r.right - r.left - 4) / 4;
    ClickAt(r.left + 2 + (tab - 1) * width + width / 2, r.top + 6);
}

void Run(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    if (verb == "find") {
        Need(w, 2);
        HWND main = WaitFor(FindScanningWindow, std::atoi(w[1].c_str()), "scanning window");
        std::printf("window title=\"%s\" rect=%s\n", WindowText(main).c_str(), RectText(main).c_str());
    } else if (verb == "wait" || verb == "gone") {
        Need(w, 3);
        const std::string title = w[1];
        if (verb == "wait") {
            HWND found = WaitFor([&] { return FindTitled(title); }, std::atoi(w[2].c_str()), "window \"" + title + "\"");
            std::printf("window \"%s\" rect=%s\n", title.c_str(), RectText(found).c_str());
        } else {
            WaitFor([&] { return FindTitled(title) ? HWND(nullptr) : GetDesktopWindow(); },
                    std::atoi(w[2].c_str()), "end of window \"" + title + "\"");
            std::printf("window \"%s\" gone\n", title.c_str());
        }
    } else if (verb == "text") {
        Need(w, 2);
        std::printf("%s=%s\n", w[1].c_str(), WindowText(Control(w[1])).c_str());
    } else if (verb == "enabled") {
        Need(w, 2);
        std::printf("%s enabled=%d\n", w[1].c_str(), IsWindowEnabled(Control(w[1])) ? 1 : 0);
    } else if (verb == "checked") {
        Need(w, 2);
        const LRESULT state = SendMessageA(Control(w[1]), BM_GETCHECK, 0, 0);
        std::printf("%s checked=%d\n", w[1].c_str(), state == BST_CHECKED ? 1 : 0);
    } else if (verb == "wait-enabled") {
        Need(w, 3);
        HWND control = Control(w[1]);
        WaitFor([&] { return IsWindowEnabled(control) ? control : HWND(nullptr); },
                std::atoi(w[2].c_str()), "enabled " + w[1]);
        std::printf("%s enabled=1\n", w[1].c_str());
    } else if (verb == "rect") {
        Need(w, 2);
        HWND target = w[1].find(':') != std::string::npos ? Control(w[1]) : FindTitled(w[1]);
        if (!target) throw Failure{"no window " + w[1]};
        std::printf("%s rect=%s\n", w[1].c_str(), RectText(target).c_str());
    } else if (verb == "click") {
        Need(w, 2);
        PostMessageA(Control(w[1]), BM_CLICK, 0, 0);
        std::printf("clicked %s\n", w[1].c_str());
    } else if (verb == "select" || verb == "listbox") {
        Need(w, 3);
        const bool combo = verb == "select";
        Select(Control(w[1]), std::atoi(w[2].c_str()), combo ? CB_SETCURSEL : LB_SETCURSEL,
               combo ? CBN_SELCHANGE : LBN_SELCHANGE);
        std::printf("chose %s entry %s\n", w[1].c_str(), w[2].c_str());
    } else if (verb == "count") {
        Need(w, 2);
        std::printf("%s count=%ld\n", w[1].c_str(), long(SendMessageA(Control(w[1]), CB_GETCOUNT, 0, 0)));
    } else if (verb == "tab") {
        Need(w, 2);
        ClickTab(std::atoi(w[1].c_str()));
        std::printf("clicked tab %s\n", w[1].c_str());
    } else if (verb == "mouse") {
        Need(w, 2);
        RECT r;
        GetWindowRect(Control(w[1]), &r);
        ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        std::printf("mouse clicked %s\n", w[1].c_str());
    } else if (verb == "hover") {
        Need(w, 2);
        RECT r;
        GetWindowRect(Control(w[1]), &r);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in.mi.dx = ((r.left + r.right) / 2) * 65536 / GetSystemMetrics(SM_CXSCREEN);
        in.mi.dy = ((r.top + r.bottom) / 2) * 65536 / GetSystemMetrics(SM_CYSCREEN);
        SendInput(1, &in, sizeof(INPUT));
        std::printf("mouse over %s\n", w[1].c_str());
    } else if (verb == "key") {
        Need(w, 2);
        PressKey(KeyNamed(w[1]));
        std::printf("pressed %s\n", w[1].c_str());
    } else if (verb == "escape") {
        Need(w, 2);
        HWND target = FindTitled(w[1]);
        if (!target) throw Failure{"no window " + w[1]};
        PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
        std::printf("escape posted to \"%s\"\n", w[1].c_str());
    } else if (verb == "sleep") {
        Need(w, 2);
        Sleep(std::atoi(w[1].c_str()));
    } else {
        throw Failure{"unknown step " + verb};
    }
    std::fflush(stdout);
}

}  // namespace

// The steps as UTF-8, like the texts read from the windows: titles of every language compare.
std::vector<std::string> Steps() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> steps;
    for (int i = 1; wide && i < count; ++i) {
        char utf8[2048] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8, sizeof utf8, nullptr, nullptr);
        steps.push_back(utf8);
    }
    LocalFree(wide);
    return steps;
}

int main() {
    for (const std::string& step : Steps()) {
        const std::vector<std::string> words = Words(step);
        if (words.empty()) continue;
        try {
            Run(words);
        } catch (const Failure& f) {
            std::printf("UIDRIVER FAILED: %s (step: %s)\n", f.why.c_str(), step.c_str());
            return 1;
        }
    }
    std::printf("UIDRIVER OK\n");
    return 0;
}
