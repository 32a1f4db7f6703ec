// Quick help: the help context of a control under the click, and the help file of a language.
#pragma once

#include <cstdint>
#include <string>

enum class HelpWindow : uint8_t { MainWindow, MainPage, TonePage, ColourPage, FiltersPage, Other };

// 0 when the control has no help.
uint32_t HelpContext(HelpWindow window, uint16_t control);

// "\TWAIN_32\KVTC_A3\CSHLP_U.HLP" and its siblings, under the Windows directory: U, D, F, I, E,
// N for languages 0-5, U for the others.
std::string HelpFilePath(const std::string& windowsDirectory, uint16_t language);

// Tool tips: the string number of a control's tip (0: none). The preview tool bar and the
// batch window join with their own windows.
uint32_t ToolTipText(HelpWindow window, uint16_t control);
// A tip goes at the first 200 ms tick on which three whole seconds have passed.
constexpr uint32_t kToolTipTickMs = 200;
inline bool ToolTipExpired(uint64_t shownAtMs, uint64_t nowMs) { return nowMs - shownAtMs >= 3000; }
