// Interface languages: the profile values that name them, the block of the string table each
// one selects, and reading a text of the table the way every caller does.
#pragma once

#include <cstdint>
#include <string>

// 0 English, 1 German, 2 French, 3 Italian, 4 Spanish, 5 Dutch, 6 Traditional Chinese,
// 7 Simplified Chinese. String n of language i is string 1000 * i + n of the table.
constexpr uint16_t kLanguageCount = 8;
constexpr uint16_t kLanguageBlockSize = 1000;

// The language a "LANGUAGE" value names ("English", "Deutsch", "Francais", "Italiano",
// "Espanol", "Nederlands", "Chinese", "Simple", spelled exactly so); any other value,
// or none, is English.
uint16_t LanguageIndexFromProfile(const char* value);

// "LANGUAGE" of section "KVTINFO_A3" (default "English"), mapped as above.
uint16_t ReadProfileLanguage();

// The first id of the language's block (1000 x index); an index outside 0-7 gives English's.
uint16_t LanguageStringBase(int languageIndex);

// What the settings writer stores under "LANGUAGE": the "KVTINFO_A3" spelling for a scanner
// with the wide bed, the "KVTINFO_SP" spelling for the narrow one; "English" for an index
// outside 0-7.
const char* LanguageProfileValue(int languageIndex, bool narrowBed);

// Strings are read into 256-byte buffers: at most 255 characters; a missing one is empty.
constexpr uint32_t kStringBufferSize = 256;

// The string of the table with this full id (for texts that are always English, the id alone).
std::string LoadSourceString(uint32_t id);

// String n of the language block that starts at base.
std::string LoadLanguageString(uint32_t base, uint32_t n);
