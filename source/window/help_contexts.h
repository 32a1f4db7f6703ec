// Quick help: the help context of a control under the click, and the help file of a language.
#pragma once

#include <cstdint>
#include <string>

enum class HelpWindow : uint8_t { MainWindow, MainPage, TonePage, FiltersPage, Other };

// 0 when the control has no help.
uint32_t HelpContext(HelpWindow window, uint16_t control);

// "\TWAIN_32\KVTC_A3\CSHLP_U.HLP" and its siblings, under the Windows directory: U, D, F, I, E,
// N for languages 0-5, U for the others.
std::string HelpFilePath(const std::string& windowsDirectory, uint16_t language);
