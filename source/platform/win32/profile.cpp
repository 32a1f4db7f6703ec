// Profile strings through the system. The system would look up an empty section name among
// the keys that stand before the first section header, and would list a section for a NULL
// key; the source means neither, so those reads give the default here.
#include "platform/profile_value.h"
#include "platform/win32/win32_api.h"

namespace plat {
namespace {

bool IsEmptySection(const char* section) {
    return !section || profile::TrimBlanks(section).empty();
}

}  // namespace

uint32_t GetProfileString(const char* section, const char* key, const char* def, char* out,
                          uint32_t size) {
    if (!out || size == 0) return 0;
    if (IsEmptySection(section) || !key) return profile::CopyDefault(def, out, size);
    return ::GetProfileStringA(section, key, def, out, size);
}

bool WriteProfileString(const char* section, const char* key, const char* value) {
    if (IsEmptySection(section)) return false;
    return ::WriteProfileStringA(section, key, value) != FALSE;
}

uint32_t GetPrivateProfileString(const char* section, const char* key, const char* def,
                                 char* out, uint32_t size, const char* file) {
    if (!out || size == 0) return 0;
    if (IsEmptySection(section) || !key || !file) return profile::CopyDefault(def, out, size);
    return ::GetPrivateProfileStringA(section, key, def, out, size, file);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file) {
    if (IsEmptySection(section) || !file) return false;
    return ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

}  // namespace plat
