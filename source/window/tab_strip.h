// The main window's tab strip: labels as they fit a tab, and which tabs may be chosen.
#pragma once

#include <cstdint>
#include <string>

enum MainTab : uint8_t { kTabMain = 1, kTabEnhancements = 2, kTabFilters = 3, kTabAbout = 4 };

// A label longer than seven characters shows its first seven and ".."; the two Chinese
// languages (indexes 6 and 7, two bytes a character) keep theirs whole.
std::string TabLabel(const std::string& text, uint16_t language);

struct TabRules {
    bool outputMatching = false;  // the Enhancements tab is closed while it is on
    bool colour36 = false;        // Enhancements and Filters are closed in 36-bit colour
    bool colourManagementApplication = false;  // and for the colour-management program
};
bool TabSelectable(MainTab tab, const TabRules& rules);
