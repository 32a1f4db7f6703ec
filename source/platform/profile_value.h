// How a profile value or default becomes the caller's text. Shared by both backends: the
// host backend for every read, the Win32 backend for the reads it answers itself (an empty
// section name or a NULL key), so both give the same bytes as GetProfileStringA.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plat::profile {

// The blanks of a profile line: those the system strips around names and values.
bool IsBlank(char c);

// The text between the first and last non-blank characters: as a view of the text (for
// look-ups that run over every line of a file) or as a copy.
std::string_view TrimmedView(std::string_view text);
std::string TrimBlanks(const std::string& text);

// Copies a stored value as GetProfileStringA does: one pair of matching enclosing quotes
// ("..." or '...') is removed, at most size - 1 characters are copied and a zero follows.
// When the buffer can hold the text but not its closing quote, the system cuts one more
// character; that is reproduced. Returns the number of characters copied; size 0 copies
// nothing.
uint32_t CopyValue(const char* value, char* out, uint32_t size);

// Copies a default: NULL counts as "", trailing blanks (spaces only) are removed except the
// first character, then it is copied like a value.
uint32_t CopyDefault(const char* def, char* out, uint32_t size);

}  // namespace plat::profile
