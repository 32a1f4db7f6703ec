#include "common/profile_text.h"

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

uint16_t LampSaverMinutes() {
    int32_t minutes = DecimalValue(ReadProfileText("A3 SCANNER", "SAVER", "20", 33));
    if ((minutes >= 5 && minutes <= 120) || minutes == 255) return static_cast<uint16_t>(minutes);
    return 20;
}
