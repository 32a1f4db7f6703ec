// The "LANGUAGEDLG" list as a model: what the edition setting ("DSLANGUAGE") offers, which
// entry shows the current language, and which language an entry chooses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class Edition : uint8_t {
    Western,            // "None": the six European languages
    Chinese,            // English and Traditional Chinese
    SimplifiedChinese,  // English and Simplified Chinese ("Simple")
    EnglishOnly,        // "English": the globe does not open the dialog
    Unknown,            // any other value: an empty list
};

Edition EditionOf(const std::string& dsLanguage);

// The string numbers of the entries (in the current block): 165-170, or 165 and 223.
std::vector<uint32_t> LanguageEntryStrings(Edition edition);

// The entry that shows language `index` (-1: none is selected).
int EntryForLanguage(Edition edition, uint16_t index);

// The language an entry chooses; `current` when the entry means none.
uint16_t LanguageForEntry(Edition edition, int entry, uint16_t current);

// The globe opens the dialog in every edition but the English one.
inline bool GlobeOpensDialog(Edition edition) { return edition != Edition::EnglishOnly; }
