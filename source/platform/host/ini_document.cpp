#include "platform/host/ini_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string_view>
#include <utility>

#include "platform/profile_value.h"

namespace plat::host::ini {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

// Lines are looked at many times per profile call: views, not copies.
std::string_view Trim(std::string_view text) { return profile::TrimmedView(text); }

// A section header is '[' at the start of the trimmed line and the last ']' after it; text
// after that ']' is ignored. Without a ']' the line is an ordinary key line.
std::optional<std::string_view> HeaderName(std::string_view trimmed) {
    if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
    size_t close = trimmed.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) {
            lines.push_back({text.substr(pos), ""});
            break;
        }
        size_t end = (nl > pos && text[nl - 1] == '\r') ? nl - 1 : nl;
        lines.push_back({text.substr(pos, end - pos), text.substr(end, nl + 1 - end)});
        pos = nl + 1;
    }
    return lines;
}

}  // namespace

// Plain descriptor reads: profile reads are frequent, and a stream costs several times more.
// A file that opens but cannot be read (a folder) reads as empty, as through a stream.
LoadResult ReadText(const std::string& path, std::string& text) {
    text.clear();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        struct stat st {};
        return (stat(path.c_str(), &st) != 0 && errno == ENOENT) ? LoadResult::Missing
                                                                  : LoadResult::Unreadable;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(chunk, size_t(n));
    }
    ::close(fd);
    return LoadResult::Loaded;
}

Document Parse(std::string text) {
    Document doc;
    if (text.compare(0, 3, kBom) == 0) {
        doc.bom = kBom;
        text.erase(0, 3);
    }
    doc.lines = SplitLines(text);
    return doc;
}

LoadResult Load(const std::string& path, Document& doc) {
    std::string text;
    const LoadResult result = ReadText(path, text);
    doc = result == LoadResult::Loaded ? Parse(std::move(text)) : Document{};
    return result;
}

bool Save(const std::string& path, const Document& doc) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << doc.bom;
    for (const Line& line : doc.lines) out << line.text << line.eol;
    out.flush();
    return static_cast<bool>(out);
}

std::optional<Section> FindSection(const Document& doc, const std::string& name) {
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        std::optional<std::string_view> header = HeaderName(Trim(doc.lines[i].text));
        if (!header || !SameName(*header, name)) continue;
        size_t end = i + 1;
        while (end < doc.lines.size() && !HeaderName(Trim(doc.lines[end].text))) ++end;
        return Section{i, end};
    }
    return std::nullopt;
}

std::optional<Key> FindKey(const Document& doc, const Section& section, const std::string& name) {
    for (size_t i = section.header + 1; i < section.end; ++i) {
        const std::string_view trimmed = Trim(doc.lines[i].text);
        if (trimmed.empty()) continue;
        const size_t eq = trimmed.find('=');
        const std::string_view keyName = eq == std::string_view::npos ? trimmed : Trim(trimmed.substr(0, eq));
        if (!SameName(keyName, name)) continue;
        Key key{i, std::string(keyName), std::nullopt};
        if (eq != std::string_view::npos) key.value = std::string(Trim(trimmed.substr(eq + 1)));
        return key;
    }
    return std::nullopt;
}

std::string UpperName(std::string name) {
    for (char& c : name) c = Upper(c);
    return name;
}

Index IndexOf(const Document& doc) {
    Index index;
    std::map<std::string, std::optional<std::string>>* keys = nullptr;  // none: not in a section
    for (const Line& line : doc.lines) {
        const std::string_view trimmed = Trim(line.text);
        if (std::optional<std::string_view> header = HeaderName(trimmed)) {
            auto [at, first] = index.try_emplace(UpperName(std::string(*header)));
            keys = first ? &at->second : nullptr;  // a later section of a name is never found
            continue;
        }
        if (!keys || trimmed.empty()) continue;
        const size_t eq = trimmed.find('=');
        if (eq == std::string_view::npos) {
            keys->try_emplace(UpperName(std::string(trimmed)), std::nullopt);
            continue;
        }
        keys->try_emplace(UpperName(std::string(Trim(trimmed.substr(0, eq)))),
                          std::string(Trim(trimmed.substr(eq + 1))));
    }
    return index;
}

std::string NewLineOf(const Document& doc) {
    for (const Line& line : doc.lines)
        if (!line.eol.empty()) return line.eol;
    return "\r\n";
}

}  // namespace plat::host::ini
