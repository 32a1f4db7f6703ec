#include "interface_language.h"

#include "language.h"
#include "platform.h"
#include "profile_fields.h"

InterfaceLanguage TheLanguage;

void ReadInterfaceLanguage(InterfaceLanguage& language) {
    const std::string value = ReadProfileText("KVTINFO_A3", "LANGUAGE", "English", 255);
    language.index = static_cast<uint16_t>(LanguageIndexFromProfile(value.c_str()));
    language.base = static_cast<uint16_t>(1000 * language.index);
}

std::string TableString(uint32_t id) {
    char text[256] = {};
    plat::LoadResourceString(id, text, sizeof text);
    return text;
}
