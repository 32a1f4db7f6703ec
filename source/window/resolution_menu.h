// The resolution menus of the Main page: which menu applies, its items, and the five most
// recent custom resolutions inserted before "Custom".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "settings/scan_settings.h"

constexpr uint16_t kMenuCustomCommand = 1817;
constexpr uint16_t kMenuRecentFirst = 1818;  // 1818-1822, the newest last
constexpr size_t kRecentCustomValues = 5;

struct MenuItem {
    uint16_t command;  // 0 for a separator
    uint16_t value;    // dots (or lines) per inch; 0 for "Custom" and the separator
};

// The menu the window opens with: 800, 810 or 820 by the model.
uint16_t OpeningMenu(uint16_t opticalResolution);
// The menu after a destination or scan-mode change: 830 for destination 1022, else 840 in
// 36-bit colour, else 820, whatever the model.
uint16_t MenuFor(int32_t destination, bool colour36);

// The items of menu base 800, 810, 820, 830 or 840, with the recent custom values (non-zero
// ones, oldest first) inserted before "Custom". Empty for another base.
std::vector<MenuItem> MenuItems(uint16_t base, const uint16_t (&recent)[kRecentCustomValues]);

// A custom resolution joins the recent ones: a value already there moves nowhere; otherwise it
// takes the first free place, or, with all five taken, the oldest moves out.
void RememberCustomResolution(uint16_t (&recent)[kRecentCustomValues], uint16_t value);
