#include "settings/profile_fields.h"

#include <cstdio>

#include "platform/platform.h"

std::string FixedWidthList(const std::vector<int32_t>& values, int width) {
    std::string out;
    char field[16];
    for (int32_t v : values) {
        std::snprintf(field, sizeof field, "%-*d", width, static_cast<int>(v));
        out += field;
    }
    return out;
}

bool WriteProfileDecimal(const char* section, const char* key, int32_t value) {
    return plat::WriteProfileString(section, key, std::to_string(value).c_str());
}
