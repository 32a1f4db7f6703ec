// Resource strings for the host build: the generated copy of the data source's string table
// stands in for the module's STRINGTABLE.
#include <cstring>

#include "platform/platform.h"
#include "resources/strings/string_table.h"

namespace plat {
namespace {

// The two Chinese blocks hold double-byte code page text (Big5, GB2312); the others UTF-8.
bool IsDoubleByteBlock(uint32_t id) { return id >= 6000 && id < 8000; }

// How many bytes of text (length bytes long) fit into limit bytes without cutting a character
// in two, as LoadStringA never does: in Big5 and GB2312 a byte of 0x81 or more starts a
// two-byte character; in UTF-8 the bytes 0x80-0xBF continue the character before them.
size_t WholeCharacters(const char* text, size_t length, size_t limit, bool doubleByte) {
    if (length <= limit) return length;
    size_t end = 0;
    if (doubleByte) {
        while (true) {
            const size_t next = end + (uint8_t(text[end]) >= 0x81 ? 2 : 1);
            if (next > limit) break;
            end = next;
        }
        return end;
    }
    end = limit;
    while (end > 0 && (uint8_t(text[end]) & 0xC0) == 0x80) --end;
    return end;
}

}  // namespace

uint32_t LoadResourceString(uint32_t id, char* out, uint32_t size) {
    if (!out || size == 0) return 0;
    const char* text = kvres::FindTableString(kvres::kSourceStrings, id);
    const size_t length =
        text ? WholeCharacters(text, std::strlen(text), size - 1, IsDoubleByteBlock(id)) : 0;
    if (length) std::memcpy(out, text, length);
    out[length] = '\0';
    return uint32_t(length);
}

}  // namespace plat
