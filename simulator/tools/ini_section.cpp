#include "simulator/tools/ini_section.h"

#include <fstream>
#include <sstream>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return !CaseInsensitiveLess()(a, b) && !CaseInsensitiveLess()(b, a);
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return Lower(a[i]) < Lower(b[i]);
    return a.size() < b.size();
}

IniKeys ParseIniSection(const std::string& text, const std::string& section) {
    IniKeys keys;
    bool inside = false;
    std::istringstream lines(text);
    for (std::string raw; std::getline(lines, raw);) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            inside = close != std::string::npos && SameName(Trim(line.substr(1, close - 1)), section);
            continue;
        }
        const size_t equals = line.find('=');
        if (!inside || equals == std::string::npos) continue;
        const std::string key = Trim(line.substr(0, equals));
        if (!key.empty()) keys.emplace(key, Trim(line.substr(equals + 1)));  // first one wins
    }
    return keys;
}

bool ReadIniSection(const std::string& path, const std::string& section, IniKeys& keys,
                    std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return error = "cannot read " + path, false;
    std::ostringstream text;
    text << in.rdbuf();
    keys = ParseIniSection(text.str(), section);
    return true;
}
