#include "simulator/server/allow_list.h"

#include "common/ipv4_text.h"

namespace {

bool ParseRange(const std::string& part, AddressRange& range) {
    const size_t slash = part.find('/');
    uint32_t address = 0;
    if (!ParseIpv4(part.substr(0, slash), address)) return false;
    uint32_t bits = 32;
    if (slash != std::string::npos) {
        const std::string digits = part.substr(slash + 1);
        if (digits.empty() || digits.size() > 2 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        bits = uint32_t(std::stoul(digits));
        if (bits > 32) return false;
    }
    range.mask = bits == 0 ? 0 : ~uint32_t(0) << (32 - bits);
    range.address = address & range.mask;
    return true;
}

}  // namespace

bool ParseAllowList(const std::string& text, AllowList& list, std::string& error) {
    AllowList parsed;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos
                                                                               : comma - start);
        AddressRange range;
        if (!ParseRange(part, range)) {
            error = "not an address or range: \"" + part + "\"";
            return false;
        }
        parsed.ranges.push_back(range);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    list = parsed;
    return true;
}

bool Allows(const AllowList& list, uint32_t address) {
    for (const AddressRange& r : list.ranges)
        if ((address & r.mask) == r.address) return true;
    return false;
}

AllowList LoopbackOnly() {
    AllowList list;
    list.ranges.push_back({0x7F000000u, 0xFF000000u});
    return list;
}
