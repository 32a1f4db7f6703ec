// The library's STRINGTABLE, loaded from this module (DllMain gave the seam its handle).
#include "prescan/prescan_strings.h"

#include "platform/platform.h"

std::string PrescanString(uint32_t id) {
    char text[512];
    const uint32_t n = plat::LoadResourceString(id, text, sizeof text);
    return std::string(text, n);
}
