// Table files made by tools outside the source (the CMYK lattices and the output-matching
// colour tables): found under the Windows directory, and read whole after their size has
// been checked, so that no layout is ever read past the bytes the file really holds.
#pragma once

#include <cstdint>

// No table file is larger than this; a bigger file is not a table and is refused unread.
constexpr uint32_t kTableFileLimit = 65536;

// <Windows directory>\TWAIN_32\<folder>\<name> into out (size bytes). False when the Windows
// directory is unknown or the path does not fit.
bool TableFilePath(const char* folder, const char* name, char* out, uint32_t size);

// Reads the whole file at path into buffer, which has room for kTableFileLimit + 1 bytes.
// Returns the file's length, or -1 when it cannot be opened or read or is longer than
// kTableFileLimit.
int64_t ReadTableFile(const char* path, uint8_t* buffer);
