// The host build has no resource loader: the generated copy of the library's table answers.
#include "prescan/prescan_strings.h"

#include "resources/strings/string_table.h"

std::string PrescanString(uint32_t id) {
    const char* text = kvres::FindTableString(kvres::kPrescanStrings, id);
    return text ? text : "";
}
