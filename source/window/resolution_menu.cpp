#include "window/resolution_menu.h"

#include <algorithm>

namespace {

constexpr MenuItem kSeparator{0, 0};
constexpr MenuItem kCustom{kMenuCustomCommand, 0};

const std::vector<MenuItem>& FixedItems(uint16_t base) {
    static const std::vector<MenuItem> k600 = {{1800, 72}, {1802, 150}, {1803, 200}, {1804, 300},
                                               {1806, 600}, {1808, 1200}, {1810, 2400},
                                               {1812, 3600}, {1813, 4800}};
    static const std::vector<MenuItem> k800 = {{1800, 72}, {1801, 100}, {1803, 200}, {1804, 300},
                                               {1805, 400}, {1806, 600}, {1807, 800}, {1809, 1600},
                                               {1811, 3200}, {1813, 4800}, {1814, 6400}};
    static const std::vector<MenuItem> k1200 = {{1800, 72}, {1801, 100}, {1803, 200}, {1804, 300},
                                                {1805, 400}, {1806, 600}, {1807, 800}, {1808, 1200},
                                                {1810, 2400}, {1813, 4800}, {1815, 7200},
                                                {1816, 9600}};
    static const std::vector<MenuItem> kRulings = {{1823, 55}, {1824, 65}, {1825, 85}, {1801, 100},
                                                   {1826, 120}, {1827, 133}, {1802, 150},
                                                   {1828, 175}, {1803, 200}, {1804, 300},
                                                   {1805, 400}, {1806, 600}};
    static const std::vector<MenuItem> k36Bit = {{1800, 72}, {1801, 100}, {1803, 200},
                                                 {1804, 300}, {1805, 400}, {1806, 600}};
    static const std::vector<MenuItem> kNone;
    switch (base) {
        case 800: return k600;
        case 810: return k800;
        case 820: return k1200;
        case 830: return kRulings;
        case 840: return k36Bit;
        default: return kNone;
    }
}

}  // namespace

uint16_t OpeningMenu(uint16_t opticalResolution) {
    return opticalResolution == 600 ? 800 : opticalResolution == 800 ? 810 : 820;
}

uint16_t MenuFor(int32_t destination, bool colour36) {
    if (destination == kDestinationHalftone) return 830;
    return colour36 ? 840 : 820;
}

std::vector<MenuItem> MenuItems(uint16_t base, const uint16_t (&recent)[kRecentCustomValues]) {
    std::vector<MenuItem> items = FixedItems(base);
    if (items.empty()) return items;
    items.push_back(kSeparator);
    uint16_t command = kMenuRecentFirst;
    for (uint16_t value : recent)
        if (value != 0) items.push_back({command++, value});
    items.push_back(kCustom);
    return items;
}

void RememberCustomResolution(uint16_t (&recent)[kRecentCustomValues], uint16_t value) {
    if (value == 0 || std::find(std::begin(recent), std::end(recent), value) != std::end(recent))
        return;
    for (uint16_t& slot : recent)
        if (slot == 0) {
            slot = value;
            return;
        }
    std::rotate(std::begin(recent), std::begin(recent) + 1, std::end(recent));
    recent[kRecentCustomValues - 1] = value;
}
