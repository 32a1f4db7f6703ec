// Recognising, reading and answering a message box from another process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct BoxReading {
    std::string caption;  // UTF-8
    std::string text;     // UTF-8
    std::string buttons;  // names of the visible buttons, comma-separated
    std::string pressed;  // name of the button pressed, "none" when there was none
};

// A visible top-level dialog ("#32770") with the message-box layout: a text control with
// id 0xFFFF and an icon control with id 0x0440. The second test keeps ordinary dialogs
// (whose labels often carry id 0xFFFF too) from being answered.
bool IsMessageBox(HWND window);
BoxReading ReadBox(HWND box);
// Presses the first visible button of the order; returns its name or "none".
std::string PressButton(HWND box, const std::vector<int>& order);
// The log line for one box, ending in LF.
std::string LogLine(const BoxReading& reading);
