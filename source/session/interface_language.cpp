#include "session/interface_language.h"

#include "settings/language.h"

InterfaceLanguage TheLanguage;

void ReadInterfaceLanguage(InterfaceLanguage& language) {
    language.index = ReadProfileLanguage();
    language.base = LanguageStringBase(language.index);
}

std::string LanguageString(uint32_t id) { return LoadLanguageString(TheLanguage.base, id); }
