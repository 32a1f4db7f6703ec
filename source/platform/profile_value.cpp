#include "platform/profile_value.h"

#include <cstring>

namespace plat::profile {

bool IsBlank(char c) {
    // Control-Z is what old editors left at the end of a text file.
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
           c == '\x1a';
}

std::string_view TrimmedView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string TrimBlanks(const std::string& text) { return std::string(TrimmedView(text)); }

uint32_t CopyValue(const char* value, char* out, uint32_t size) {
    if (!out || size == 0) return 0;
    if (!value) value = "";
    size_t length = std::strlen(value);
    bool quoted = false;
    if ((value[0] == '"' || value[0] == '\'') && length >= 2 && value[length - 1] == value[0]) {
        quoted = true;
        ++value;  // the closing quote is still part of the text to copy
        --length;
    }
    size_t copied = length < size - 1 ? length : size - 1;
    std::memcpy(out, value, copied);
    out[copied] = '\0';
    // The closing quote is dropped only when the buffer is at least as long as the text after
    // the opening quote, so a buffer one larger than the unquoted text loses its last character.
    if (quoted && size >= length && copied > 0) out[--copied] = '\0';
    return static_cast<uint32_t>(copied);
}

uint32_t CopyDefault(const char* def, char* out, uint32_t size) {
    std::string text = def ? def : "";
    size_t end = text.size();
    while (end > 1 && text[end - 1] == ' ') --end;
    text.resize(end);
    return CopyValue(text.c_str(), out, size);
}

}  // namespace plat::profile
