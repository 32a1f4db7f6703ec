#include "common/ipv4_text.h"

bool ParseIpv4(const std::string& text, uint32_t& hostOrder) {
    uint32_t value = 0;
    size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.') return false;
            ++at;
        }
        size_t digits = 0;
        uint32_t number = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 3) {
            number = number * 10 + uint32_t(text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || number > 255) return false;
        value = (value << 8) | number;
    }
    if (at != text.size()) return false;
    hostOrder = value;
    return true;
}

std::string Ipv4Text(uint32_t hostOrder) {
    return std::to_string(hostOrder >> 24) + "." + std::to_string((hostOrder >> 16) & 255) + "." +
           std::to_string((hostOrder >> 8) & 255) + "." + std::to_string(hostOrder & 255);
}
