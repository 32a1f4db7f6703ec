#include "settings/profile_fields.h"

#include <cstdio>

#include "platform/platform.h"

std::string ReadProfileText(const char* section, const char* key, const char* def,
                            uint32_t readChars) {
    std::string value(readChars + 1, '\0');
    uint32_t n = plat::GetProfileString(section, key, def, value.data(), readChars + 1);
    value.resize(n);
    return value;
}

int32_t DecimalField(const std::string& text, size_t offset, size_t width) {
    if (offset >= text.size()) return 0;
    size_t end = offset + width < text.size() ? offset + width : text.size();
    size_t i = offset;
    while (i < end && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) value = INT32_MAX;  // a clamp instead of overflow
    }
    return static_cast<int32_t>(negative ? -value : value);
}

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
