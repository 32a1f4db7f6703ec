// The Windows and temporary directories of the host backend, and path mapping.
#include <cstring>
#include <mutex>
#include <string>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

std::mutex gMutex;
std::string gWindowsDir;
std::string gTempDir;

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// Copies text as GetWindowsDirectoryA does: the length on success, 0 when it does not fit.
uint32_t CopyDirectory(const std::string& text, char* out, uint32_t size) {
    if (text.empty() || !out || text.size() + 1 > size) return 0;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return static_cast<uint32_t>(text.size());
}

}  // namespace

namespace host {

void SetWindowsDirectory(const std::string& linuxDir) {
    {
        std::lock_guard lock(gMutex);
        gWindowsDir = WithoutTrailingSlash(linuxDir);
    }
    internal::WindowsDirectoryChanged();  // outside the lock: the cache asks for WinIniPath
}

void SetTempDirectory(const std::string& linuxDir) {
    std::lock_guard lock(gMutex);
    gTempDir = WithoutTrailingSlash(linuxDir);
}

std::string WinIniPath() {
    std::string dir = internal::WindowsDirectoryPath();
    return dir.empty() ? std::string() : dir + "/win.ini";
}

std::string MapPath(const char* windowsPath) {
    std::string path = windowsPath ? windowsPath : "";
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

namespace internal {

void ResetDirectories() {
    std::lock_guard lock(gMutex);
    gWindowsDir.clear();
    gTempDir.clear();
}

std::string WindowsDirectoryPath() {
    std::lock_guard lock(gMutex);
    return gWindowsDir;
}

std::string TempDirectoryPath() {
    std::lock_guard lock(gMutex);
    return gTempDir;
}

}  // namespace internal
}  // namespace host

uint32_t WindowsDirectory(char* out, uint32_t size) {
    return CopyDirectory(host::internal::WindowsDirectoryPath(), out, size);
}

uint32_t TempPath(char* out, uint32_t size) {
    std::string dir = host::internal::TempDirectoryPath();
    if (dir.empty()) return 0;
    if (dir.back() != '/') dir += '/';
    return CopyDirectory(dir, out, size);
}

}  // namespace plat
