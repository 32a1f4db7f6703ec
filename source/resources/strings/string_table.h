// The string tables as the host build holds them. Windows builds link the generated resource
// scripts instead and load strings with LoadStringA; the host has no resource loader, so
// generate_strings.py also writes each table as sorted C++ data that this header looks up.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace kvres {

struct StringTableEntry {
    uint32_t id;
    const char* text;  // the bytes LoadStringA would give: UTF-8, Big5 (block 6), GB2312 (7)
};

struct StringTable {
    const StringTableEntry* entries;  // sorted by id
    size_t count;
};

extern const StringTable kSourceStrings;   // the data source: blocks 1000 apart
extern const StringTable kPrescanStrings;  // the prescan library: blocks 50 apart

// The text stored under id, or nullptr when the table has no such string.
inline const char* FindTableString(const StringTable& table, uint32_t id) {
    const StringTableEntry* end = table.entries + table.count;
    const StringTableEntry* it = std::lower_bound(
        table.entries, end, id, [](const StringTableEntry& e, uint32_t v) { return e.id < v; });
    return (it != end && it->id == id) ? it->text : nullptr;
}

}  // namespace kvres
