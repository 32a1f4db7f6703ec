// ASCII text helpers that behave the same in every build (no locale, no C library quirks).
#pragma once

#include <cstddef>

inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// lstrcmpiA-style equality for ASCII text; NULL equals only NULL.
inline bool EqualsIgnoreCase(const char* a, const char* b) {
    if (!a || !b) return a == b;
    for (; *a && *b; ++a, ++b)
        if (AsciiUpper(*a) != AsciiUpper(*b)) return false;
    return *a == *b;
}
