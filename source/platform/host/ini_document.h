// An INI file as lines, read the way the system's profile functions read it, and edited so
// that every line the edit does not concern stays byte for byte as it was.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace plat::host::ini {

struct Line {
    std::string text;  // without the line end
    std::string eol;   // "\r\n", "\n" or "" (last line without one)
};

struct Document {
    std::string bom;  // a UTF-8 byte-order mark found at the start, written back as found
    std::vector<Line> lines;
};

enum class LoadResult { Loaded, Missing, Unreadable };
LoadResult Load(const std::string& path, Document& doc);
// Load in two steps: the file's bytes, then the document they make.
LoadResult ReadText(const std::string& path, std::string& text);
Document Parse(std::string text);
bool Save(const std::string& path, const Document& doc);

// A section: its header line and the index one past its last line.
struct Section {
    size_t header;
    size_t end;
};
// A key line inside a section. A line without '=' has no value.
struct Key {
    size_t index;
    std::string name;
    std::optional<std::string> value;
};

// The first section whose name equals name without case (name already trimmed, not empty).
std::optional<Section> FindSection(const Document& doc, const std::string& name);
// The first key of the section whose name equals name without case (name already trimmed).
std::optional<Key> FindKey(const Document& doc, const Section& section, const std::string& name);

// Every answer FindSection and FindKey give, at once: section name -> key name -> value, names
// in upper case, the first section of a name and the first key of a name in it.
using Index = std::map<std::string, std::map<std::string, std::optional<std::string>>>;
Index IndexOf(const Document& doc);
std::string UpperName(std::string name);  // the case SameName ignores

// The line end that new lines get: the file's own, CRLF for a new file.
std::string NewLineOf(const Document& doc);

}  // namespace plat::host::ini
