// What the host backend's files share among themselves; not for tests.
#pragma once

#include <optional>
#include <string>

namespace plat::host::internal {

// Each part of the backend puts its own state back to fresh; Reset calls them all.
void ResetDirectories();
void ResetMemory();
void ResetFiles();
void ResetTempNames();
void ResetTime();
void ResetMessageBoxes();
void ResetWindows();
void ResetSourceManager();
void ResetProfileCache();

// Every change the seam makes to a file (written, created, deleted, moved) calls this, so
// that profile reads cached by CacheProfileReads see it (profile_cache.cpp).
void FilesChanged();
// The value of key (trimmed) in section (trimmed, not empty) of the profile file at path,
// none when the section, the key or its value is absent; false when the file cannot be read.
// The file is parsed afresh, or the answer comes from the cache when it is on.
bool LookUpProfile(const std::string& path, const std::string& section, const std::string& key,
                   std::optional<std::string>& value);
// The same for WIN.INI, without forming its path on every read while the cache is on.
// SetWindowsDirectory calls WindowsDirectoryChanged so that the path is formed again.
bool LookUpWinIni(const std::string& section, const std::string& key,
                  std::optional<std::string>& value);
void WindowsDirectoryChanged();

std::string WindowsDirectoryPath();  // "" while unset
std::string TempDirectoryPath();     // "" while unset

}  // namespace plat::host::internal
