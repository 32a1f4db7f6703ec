// Profile values as both libraries read them: a key's text, and decimal numbers in it.
#pragma once

#include <cstdint>
#include <string>

// Reads at most readChars characters of key in section of WIN.INI (default def).
std::string ReadProfileText(const char* section, const char* key, const char* def,
                            uint32_t readChars);

// C-library decimal conversion (leading blanks, optional sign, digits; anything else ends
// the number; no number reads 0), limited to the width characters starting at offset.
// A field past the end of the text reads 0. Limiting it to its field keeps a value that
// fills its field from running on into the next one.
int32_t DecimalField(const std::string& text, size_t offset, size_t width);
inline int32_t DecimalValue(const std::string& text) { return DecimalField(text, 0, text.size()); }

// The lamp-saver delay sent with every set-up ("SAVER" of "A3 SCANNER", default 20): 5-120
// minutes or 255 (off); anything else is taken as the default.
uint16_t LampSaverMinutes();
