#include "settings/language.h"

#include <cstring>

#include "platform/platform.h"

namespace {

struct LanguageNames {
    const char* wideBed;    // "LANGUAGE" of "KVTINFO_A3", also what the source reads at open
    const char* narrowBed;  // "LANGUAGE" of "KVTINFO_SP"
};

constexpr LanguageNames kNames[kLanguageCount] = {
    {"English", "English"},   {"Deutsch", "German"},    {"Francais", "French"},
    {"Italiano", "Italian"},  {"Espanol", "Spanish"},   {"Nederlands", "Dutch"},
    {"Chinese", "Chinese"},   {"Simple", "Simple"},
};

bool IsLanguageIndex(int index) { return index >= 0 && index < kLanguageCount; }

}  // namespace

uint16_t LanguageIndexFromProfile(const char* value) {
    if (!value) return 0;
    for (uint16_t i = 0; i < kLanguageCount; ++i)
        if (std::strcmp(value, kNames[i].wideBed) == 0) return i;
    return 0;
}

uint16_t ReadProfileLanguage() {
    char value[kStringBufferSize];
    plat::GetProfileString("KVTINFO_A3", "LANGUAGE", "English", value, sizeof value);
    return LanguageIndexFromProfile(value);
}

uint16_t LanguageStringBase(int languageIndex) {
    return IsLanguageIndex(languageIndex) ? uint16_t(languageIndex * kLanguageBlockSize) : 0;
}

const char* LanguageProfileValue(int languageIndex, bool narrowBed) {
    if (!IsLanguageIndex(languageIndex)) return "English";
    return narrowBed ? kNames[languageIndex].narrowBed : kNames[languageIndex].wideBed;
}

std::string LoadSourceString(uint32_t id) {
    char text[kStringBufferSize];
    const uint32_t length = plat::LoadResourceString(id, text, sizeof text);
    return std::string(text, length);
}

std::string LoadLanguageString(uint32_t base, uint32_t n) { return LoadSourceString(base + n); }
