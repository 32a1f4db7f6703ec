// Profile strings on real INI files: WIN.INI is <windows dir>/win.ini, private profiles are
// the files named. Every call reads the file afresh, so a test may edit it at any time,
// unless the test turned the cache on (profile_cache.cpp).
#include <optional>
#include <string>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/host/ini_document.h"
#include "platform/platform.h"
#include "platform/profile_value.h"

namespace plat {
namespace {

namespace ini = host::ini;

bool HasLineBreak(const char* text) {
    for (; text && *text; ++text)
        if (*text == '\r' || *text == '\n') return true;
    return false;
}

// path: the profile file, or null for WIN.INI.
uint32_t ReadProfile(const char* section, const char* key, const char* def, char* out,
                     uint32_t size, const std::string* path) {
    if (!out || size == 0) return 0;
    const std::string sectionName = section ? profile::TrimBlanks(section) : std::string();
    if (sectionName.empty() || !key) return profile::CopyDefault(def, out, size);
    const std::string keyName = profile::TrimBlanks(key);
    std::optional<std::string> value;
    const bool read = path ? host::internal::LookUpProfile(*path, sectionName, keyName, value)
                           : host::internal::LookUpWinIni(sectionName, keyName, value);
    if (!read || !value) return profile::CopyDefault(def, out, size);
    return profile::CopyValue(value->c_str(), out, size);
}

// Returns whether the document changed.
bool EditKey(ini::Document& doc, const std::string& section, const std::string& key,
             const char* value) {
    const std::string newline = ini::NewLineOf(doc);
    std::optional<ini::Section> found = ini::FindSection(doc, section);
    if (!found) {
        if (!value) return false;
        if (!doc.lines.empty() && doc.lines.back().eol.empty()) doc.lines.back().eol = newline;
        doc.lines.push_back({"[" + section + "]", newline});
        doc.lines.push_back({key + "=" + value, newline});
        return true;
    }
    std::optional<ini::Key> entry = ini::FindKey(doc, *found, key);
    if (!value) {
        if (!entry) return false;
        doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(entry->index));
        return true;
    }
    if (entry) {
        std::string text = entry->name + "=" + value;  // the file's spelling stays
        if (doc.lines[entry->index].text == text) return false;  // the file would not change
        doc.lines[entry->index].text = std::move(text);
        return true;
    }
    // A new key goes after the section's last non-blank line, before any blank lines that
    // separate it from the next section.
    size_t at = found->end;
    while (at > found->header + 1 && profile::TrimBlanks(doc.lines[at - 1].text).empty()) --at;
    if (doc.lines[at - 1].eol.empty()) doc.lines[at - 1].eol = newline;
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at),
                     ini::Line{key + "=" + value, newline});
    return true;
}

bool WriteProfile(const char* section, const char* key, const char* value,
                  const std::string& path) {
    const std::string sectionName = section ? profile::TrimBlanks(section) : std::string();
    if (sectionName.empty() || path.empty()) return false;
    // A line break would smuggle extra lines into the file.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
    ini::Document doc;
    ini::LoadResult loaded = ini::Load(path, doc);
    if (loaded == ini::LoadResult::Unreadable) return false;
    if (!key) {
        std::optional<ini::Section> found = ini::FindSection(doc, sectionName);
        if (!found) return true;
        doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(found->header),
                        doc.lines.begin() + static_cast<std::ptrdiff_t>(found->end));
    } else if (!EditKey(doc, sectionName, profile::TrimBlanks(key), value)) {
        return true;  // nothing to delete or nothing new: the file stays as it is (or absent)
    }
    const bool saved = ini::Save(path, doc);
    host::internal::FilesChanged();
    return saved;
}

// A private profile named without a folder lives in the Windows directory, as under Windows.
std::string PrivateProfilePath(const char* file) {
    std::string path = host::MapPath(file);
    if (path.empty() || path.find('/') != std::string::npos) return path;
    std::string dir = host::internal::WindowsDirectoryPath();
    return dir.empty() ? std::string() : dir + "/" + path;
}

}  // namespace

uint32_t GetProfileString(const char* section, const char* key, const char* def, char* out,
                          uint32_t size) {
    return ReadProfile(section, key, def, out, size, nullptr);
}

bool WriteProfileString(const char* section, const char* key, const char* value) {
    return WriteProfile(section, key, value, host::WinIniPath());
}

uint32_t GetPrivateProfileString(const char* section, const char* key, const char* def,
                                 char* out, uint32_t size, const char* file) {
    const std::string path = PrivateProfilePath(file);
    return ReadProfile(section, key, def, out, size, &path);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file) {
    return WriteProfile(section, key, value, PrivateProfilePath(file));
}

}  // namespace plat
