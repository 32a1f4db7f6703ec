#include "tests/wine/msgwatch/box_reading.h"

#include <cstring>

#include "tests/wine/msgwatch/watch_options.h"

namespace {

constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;
constexpr int kButtonIds[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO,
                              IDTRYAGAIN, IDCONTINUE};

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::string WindowText(HWND window) {
    if (!window) return "";
    int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(size_t(got > 0 ? got : 0));
    return Utf8(text);
}

bool ButtonVisible(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

bool IsMessageBox(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0 && GetDlgItem(window, kTextId) &&
           GetDlgItem(window, kIconId);
}

BoxReading ReadBox(HWND box) {
    BoxReading reading;
    reading.caption = WindowText(box);
    reading.text = WindowText(GetDlgItem(box, kTextId));
    for (int id : kButtonIds) {
        if (!ButtonVisible(box, id)) continue;
        if (!reading.buttons.empty()) reading.buttons += ",";
        reading.buttons += ButtonName(id);
    }
    return reading;
}

std::string PressButton(HWND box, const std::vector<int>& order) {
    for (int id : order) {
        if (!ButtonVisible(box, id)) continue;
        // The box's own dialog procedure ends the box on WM_COMMAND with a button id.
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
        return ButtonName(id);
    }
    return "none";
}

std::string LogLine(const BoxReading& r) {
    return Escaped(r.caption) + "\t" + Escaped(r.text) + "\t" + r.buttons + "\t" + r.pressed +
           "\n";
}
