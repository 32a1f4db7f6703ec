// Profile reads served from files parsed once, for a caller that asks for it. A fuzz input
// reads WIN.INI hundreds of times and never changes it behind the seam's back, while unit
// tests edit profile files by any means between calls; so the cache is off after Reset.
// While on, every change the seam makes to any file (a write, a create, a delete, a move, a
// profile write) advances a generation number; an answer parsed before the latest change is
// given again only after the file's bytes, read afresh, are found to be the ones it was parsed
// from. Files are cached by path, so a new Windows directory only means a new WIN.INI path.
#include <atomic>
#include <map>
#include <mutex>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/host/ini_document.h"

namespace plat::host {
namespace {

// One file as read and indexed: each read is two look-ups, not a walk over the lines.
struct Parsed {
    bool loaded = false;
    std::string text;
    ini::Index index;
    uint64_t generation = 0;  // the last generation at which the file had these bytes
};

std::mutex gMutex;
bool gOn = false;
std::atomic<uint64_t> gGeneration{1};
std::map<std::string, Parsed> gFiles;
// WIN.INI's path while known (SetWindowsDirectory forgets it).
std::string gWinIniPath;
bool gWinIniPathKnown = false;

const Parsed& Current(const std::string& path) {
    const uint64_t now = gGeneration.load();
    Parsed& file = gFiles[path];
    if (file.generation == now) return file;
    std::string text;
    const bool loaded = ini::ReadText(path, text) == ini::LoadResult::Loaded;
    if (file.generation == 0 || loaded != file.loaded || text != file.text) {
        file.loaded = loaded;
        file.index = loaded ? ini::IndexOf(ini::Parse(text)) : ini::Index{};
        file.text = std::move(text);
    }
    file.generation = now;
    return file;
}

bool Answer(const Parsed& file, const std::string& section, const std::string& key,
            std::optional<std::string>& value) {
    value.reset();
    if (!file.loaded) return false;
    const auto keys = file.index.find(ini::UpperName(section));
    if (keys == file.index.end()) return true;
    const auto entry = keys->second.find(ini::UpperName(key));
    if (entry != keys->second.end()) value = entry->second;
    return true;
}

bool ReadAfresh(const std::string& path, const std::string& section, const std::string& key,
                std::optional<std::string>& value) {
    ini::Document doc;
    value.reset();
    if (path.empty() || ini::Load(path, doc) != ini::LoadResult::Loaded) return false;
    if (std::optional<ini::Section> s = ini::FindSection(doc, section))
        if (std::optional<ini::Key> k = ini::FindKey(doc, *s, key)) value = k->value;
    return true;
}

}  // namespace

void CacheProfileReads(bool on) {
    std::lock_guard lock(gMutex);
    gOn = on;
    gFiles.clear();
    gWinIniPathKnown = false;
}

namespace internal {

void FilesChanged() { ++gGeneration; }

bool LookUpProfile(const std::string& path, const std::string& section, const std::string& key,
                   std::optional<std::string>& value) {
    std::unique_lock lock(gMutex);
    if (!gOn || path.empty()) {
        lock.unlock();
        return ReadAfresh(path, section, key, value);
    }
    return Answer(Current(path), section, key, value);
}

bool LookUpWinIni(const std::string& section, const std::string& key,
                  std::optional<std::string>& value) {
    std::unique_lock lock(gMutex);
    if (!gOn) {
        lock.unlock();
        return ReadAfresh(WinIniPath(), section, key, value);
    }
    if (!gWinIniPathKnown) {
        gWinIniPath = WinIniPath();
        gWinIniPathKnown = true;
    }
    if (gWinIniPath.empty()) return false;
    return Answer(Current(gWinIniPath), section, key, value);
}

void WindowsDirectoryChanged() {
    std::lock_guard lock(gMutex);
    gWinIniPathKnown = false;
}

void ResetProfileCache() { CacheProfileReads(false); }

}  // namespace internal
}  // namespace plat::host
