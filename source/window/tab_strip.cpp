#include "window/tab_strip.h"

std::string TabLabel(const std::string& text, uint16_t language) {
    if (language == 6 || language == 7 || text.size() <= 7) return text;
    return text.substr(0, 7) + "..";
}

bool TabSelectable(MainTab tab, const TabRules& rules) {
    const bool imageTab = tab == kTabEnhancements || tab == kTabFilters;
    if (imageTab && (rules.colour36 || rules.colourManagementApplication)) return false;
    return !(tab == kTabEnhancements && rules.outputMatching);
}
