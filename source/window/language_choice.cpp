#include "window/language_choice.h"

Edition EditionOf(const std::string& dsLanguage) {
    if (dsLanguage == "None") return Edition::Western;
    if (dsLanguage == "Chinese") return Edition::Chinese;
    if (dsLanguage == "Simple") return Edition::SimplifiedChinese;
    if (dsLanguage == "English") return Edition::EnglishOnly;
    return Edition::Unknown;
}

std::vector<uint32_t> LanguageEntryStrings(Edition edition) {
    switch (edition) {
        case Edition::Western: return {165, 166, 167, 168, 169, 170};
        case Edition::Chinese:
        case Edition::SimplifiedChinese: return {165, 223};
        default: return {};
    }
}

namespace {

uint16_t ChineseIndex(Edition edition) { return edition == Edition::Chinese ? 6 : 7; }

}  // namespace

int EntryForLanguage(Edition edition, uint16_t index) {
    switch (edition) {
        case Edition::Western: return index <= 5 ? int(index) : -1;
        case Edition::Chinese:
        case Edition::SimplifiedChinese: return (index == 6 || index == 7) ? 1 : 0;
        default: return -1;
    }
}

uint16_t LanguageForEntry(Edition edition, int entry, uint16_t current) {
    switch (edition) {
        case Edition::Western: return (entry >= 0 && entry <= 5) ? uint16_t(entry) : current;
        case Edition::Chinese:
        case Edition::SimplifiedChinese:
            return entry == 0 ? 0 : entry == 1 ? ChineseIndex(edition) : current;
        default: return current;
    }
}
