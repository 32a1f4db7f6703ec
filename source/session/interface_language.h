// The interface language of the open source and the string-table base that follows from it.
#pragma once

#include <cstdint>
#include <string>

struct InterfaceLanguage {
    uint16_t index = 0;  // 0 English ... 7 Simplified Chinese
    uint16_t base = 0;   // 1000 x index: every text is string (base + id)
};

extern InterfaceLanguage TheLanguage;

// Reads "LANGUAGE" of "KVTINFO_A3" and sets index and base.
void ReadInterfaceLanguage(InterfaceLanguage& language);

// A string of the current language block, at most 255 characters; a missing one is empty.
std::string LanguageString(uint32_t id);
