// One section of an INI file read the way the Windows profile functions read it, so that a
// tool sees the same simulator keys as the port library saw through WIN.INI: section and key
// names without regard to case, blanks around names and values dropped, the first of
// repeated keys kept, lines starting with ';' ignored.
#pragma once

#include <map>
#include <string>

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

using IniKeys = std::map<std::string, std::string, CaseInsensitiveLess>;

IniKeys ParseIniSection(const std::string& text, const std::string& section);

// False when the file cannot be read.
bool ReadIniSection(const std::string& path, const std::string& section, IniKeys& keys,
                    std::string& error);
