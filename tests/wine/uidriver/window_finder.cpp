#include "tests/wine/uidriver/window_finder.h"

#include <cstdlib>
#include <vector>

namespace uidriver {
namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct Search {
    std::string title;
    bool scanning = false;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    const bool match = s->scanning ? ClassOf(window) == "#32770" &&
                                         GetDlgItem(window, 1004) && GetDlgItem(window, 1010)
                                   : WindowText(window) == s->title;
    if (!match) return TRUE;
    s->found = window;
    return FALSE;
}

// The child dialog of the scanning window that holds the control `marker`.
HWND PageHolding(int marker) {
    HWND main = FindScanningWindow();
    if (!main) return nullptr;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "#32770" && GetDlgItem(c, marker)) return c;
    return nullptr;
}

}  // namespace

std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    // WM_GETTEXT is carried across processes, GetWindowText only reads the caption. The text
    // is printed as UTF-8, whatever the code page of the window's language.
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

HWND FindPreviewPart(const std::string& childClass) {
    HWND frame = FindWindowA("ParentClass", nullptr);
    if (!frame || childClass.empty()) return frame;
    for (HWND c = GetWindow(frame, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == childClass) return c;
    return nullptr;
}

HWND FindScanningWindow() {
    Search s;
    s.scanning = true;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindTitled(const std::string& title) {
    Search s;
    s.title = title;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindControl(const std::string& path, std::string& error) {
    const size_t colon = path.rfind(':');
    if (colon == std::string::npos) {
        error = "a control is named <window>:<id>, not " + path;
        return nullptr;
    }
    const std::string where = path.substr(0, colon);
    const int id = std::atoi(path.c_str() + colon + 1);
    HWND parent = nullptr;
    if (where == "main") parent = FindScanningWindow();
    else if (where == "page") parent = PageHolding(1023);
    else if (where == "about") parent = PageHolding(4006);
    else if (where.size() > 2 && where.front() == '[' && where.back() == ']')
        parent = FindTitled(where.substr(1, where.size() - 2));
    if (!parent) {
        error = "no window " + where;
        return nullptr;
    }
    HWND control = GetDlgItem(parent, id);
    if (!control) error = "no control " + path;
    return control;
}

}  // namespace uidriver
