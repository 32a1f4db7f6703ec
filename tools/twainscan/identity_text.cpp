#include "tools/twainscan/identity_text.h"

#include <cstdio>

namespace twainscan {
namespace {

void AppendEscaped(std::string& out, unsigned char c) {
    switch (c) {
        case '\\': out += "\\\\"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: break;
    }
    if (c >= 0x20 && c < 0x7F) {
        out += char(c);
        return;
    }
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += hex;
}

std::string Line(const char* key, const std::string& value) {
    return std::string(key) + ": " + value + "\n";
}

}  // namespace

std::string PrintableTwainText(const char (&field)[34]) {
    std::string out;
    for (char c : field) {
        if (c == '\0') break;
        AppendEscaped(out, static_cast<unsigned char>(c));
    }
    return out;
}

std::string IdentityLines(const TW_IDENTITY& id) {
    const TW_VERSION& v = id.Version;
    return Line("Id", std::to_string(id.Id)) +
           Line("Version", std::to_string(v.MajorNum) + "." + std::to_string(v.MinorNum)) +
           Line("Language", std::to_string(v.Language)) +
           Line("Country", std::to_string(v.Country)) +
           Line("Info", PrintableTwainText(v.Info)) +
           Line("Protocol", std::to_string(id.ProtocolMajor) + "." +
                                std::to_string(id.ProtocolMinor)) +
           Line("SupportedGroups", std::to_string(id.SupportedGroups)) +
           Line("Manufacturer", PrintableTwainText(id.Manufacturer)) +
           Line("ProductFamily", PrintableTwainText(id.ProductFamily)) +
           Line("ProductName", PrintableTwainText(id.ProductName));
}

std::string SourceListLine(const TW_IDENTITY& id) {
    return Line("source", PrintableTwainText(id.ProductName));
}

}  // namespace twainscan
