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
//   preview                  the preview frame: visible, title and rectangle
//   area-origin              the preview area's top-left corner on the screen
//   drag X0 Y0 X1 Y1 [shift] drag with the left button in the preview area (client pixels)
//   press X Y [shift]        click in the preview area (client pixels)
//   toolbar-hover N          move the mouse onto tool-bar button N
//   toolbar N                click tool-bar button N (0 density, 1 batch, 2 crop, 3 zoom,
//                            4 pick highlight, 5 pick shadow)
//   move X Y                 move the scanning window to screen point X Y
//   sleep MS
// A word "hex:<hex digits>" stands for the UTF-8 text they spell (titles in any script).
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

// A word written "hex:" and the hexadecimal of its UTF-8 bytes: titles in any script, whatever
// code page the command line passes through.
std::string Unhex(const std::string& word) {
    if (word.compare(0, 4, "hex:") != 0) return word;
    std::string out;
    for (size_t i = 4; i + 1 < word.size(); i += 2)
        out.push_back(static_cast<char>(std::strtol(word.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}

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
            words.push_back(Unhex(step.substr(at, end - at)));
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

HWND PreviewPart(const char* cls) {
    HWND w = FindPreviewPart(cls);
    if (!w) throw Failure{std::string("no preview ") + (*cls ? cls : "frame")};
    return w;
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

void MouseButton(bool down, bool shift) {
    INPUT in[2] = {};
    int n = 0;
    if (shift && down) {
        in[n].type = INPUT_KEYBOARD;
        in[n++].ki.wVk = VK_SHIFT;
    }
    in[n].type = INPUT_MOUSE;
    in[n++].mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(n, in, sizeof(INPUT));
    if (shift && !down) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = VK_SHIFT;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &up, sizeof(INPUT));
    }
    Sleep(60);
}

void MoveMouse(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = p.x * 65536 / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = p.y * 65536 / GetSystemMetrics(SM_CYSCREEN);
    SendInput(1, &in, sizeof(INPUT));
    Sleep(30);
}

// A drag as a hand makes it: down at the start, through the way in steps, up at the end.
void Drag(HWND area, int x0, int y0, int x1, int y1, bool shift) {
    MoveMouse(ScreenPoint(area, x0, y0));
    MouseButton(true, shift);
    for (int step = 1; step <= 8; ++step)
        MoveMouse(ScreenPoint(area, x0 + (x1 - x0) * step / 8, y0 + (y1 - y0) * step / 8));
    MouseButton(false, shift);
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
    } else if (verb == "preview") {
        HWND frame = PreviewPart("");
        std::printf("preview visible=%d title=\"%s\" rect=%s\n", IsWindowVisible(frame) ? 1 : 0,
                    WindowText(frame).c_str(), RectText(frame).c_str());
    } else if (verb == "area-origin") {
        const POINT p = ScreenPoint(PreviewPart("PreviewClass"), 0, 0);
        std::printf("preview area origin=%ld,%ld\n", p.x, p.y);
    } else if (verb == "drag") {
        Need(w, 5);
        Drag(PreviewPart("PreviewClass"), std::atoi(w[1].c_str()), std::atoi(w[2].c_str()),
             std::atoi(w[3].c_str()), std::atoi(w[4].c_str()), w.size() > 5 && w[5] == "shift");
        std::printf("dragged %s,%s to %s,%s\n", w[1].c_str(), w[2].c_str(), w[3].c_str(), w[4].c_str());
    } else if (verb == "press") {
        Need(w, 3);
        HWND area = PreviewPart("PreviewClass");
        MoveMouse(ScreenPoint(area, std::atoi(w[1].c_str()), std::atoi(w[2].c_str())));
        const bool shift = w.size() > 3 && w[3] == "shift";
        MouseButton(true, shift);
        MouseButton(false, shift);
        std::printf("pressed preview at %s,%s\n", w[1].c_str(), w[2].c_str());
    } else if (verb == "toolbar" || verb == "toolbar-hover") {
        Need(w, 2);
        static const int kCentres[] = {17, 47, 92, 122, 152, 182};
        const int n = std::atoi(w[1].c_str());
        if (n < 0 || n > 5) throw Failure{"no tool-bar button " + w[1]};
        MoveMouse(ScreenPoint(PreviewPart("ToolBarClass"), kCentres[n], 14));
        if (verb == "toolbar") {
            MouseButton(true, false);
            MouseButton(false, false);
        }
        std::printf("%s tool-bar button %d\n", verb == "toolbar" ? "clicked" : "over", n);
    } else if (verb == "move") {
        Need(w, 3);
        HWND main = FindScanningWindow();
        if (!main) throw Failure{"no scanning window"};
        SetWindowPos(main, nullptr, std::atoi(w[1].c_str()), std::atoi(w[2].c_str()), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        std::printf("moved the scanning window to %s,%s\n", w[1].c_str(), w[2].c_str());
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
