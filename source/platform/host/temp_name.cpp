// GetTempFileNameA: dir + "\" + up to three characters of the prefix + four hex digits +
// ".TMP". With number 0 the first free number from a running counter is taken and the empty
// file is created, so the name is reserved.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

constexpr size_t kMaxPath = 260;

std::mutex gMutex;
uint32_t gCounter = 1;

std::string FormName(const char* dir, const char* prefix, uint32_t number) {
    std::string name = dir;
    if (!name.empty() && name.back() != '\\' && name.back() != '/') name += '\\';
    name.append(prefix ? prefix : "", prefix ? strnlen(prefix, 3) : 0);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(number & 0xFFFF));
    return name + digits + ".TMP";
}

bool CopyName(const std::string& name, char* out) {
    if (name.size() + 1 > kMaxPath) return false;
    std::memcpy(out, name.c_str(), name.size() + 1);
    return true;
}

}  // namespace

uint32_t TempFileName(const char* dir, const char* prefix, uint32_t unique, char* out) {
    if (!dir || !out) return 0;
    if (unique != 0) {
        unique &= 0xFFFF;
        return CopyName(FormName(dir, prefix, unique), out) ? unique : 0;
    }
    std::lock_guard lock(gMutex);
    for (uint32_t tries = 0; tries < 0xFFFF; ++tries) {
        uint32_t number = gCounter;
        gCounter = gCounter % 0xFFFF + 1;  // 1..0xFFFF: 0 means "pick one"
        const std::string name = FormName(dir, prefix, number);
        if (name.size() + 1 > kMaxPath) return 0;
        int fd = ::open(host::MapPath(name.c_str()).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return 0;
        ::close(fd);
        host::internal::FilesChanged();
        CopyName(name, out);
        return number;
    }
    return 0;
}

namespace host::internal {

void ResetTempNames() {
    std::lock_guard lock(gMutex);
    gCounter = 1;
}

}  // namespace host::internal
}  // namespace plat
