// What the host backend's files share among themselves; not for tests.
#pragma once

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

std::string WindowsDirectoryPath();  // "" while unset
std::string TempDirectoryPath();     // "" while unset

}  // namespace plat::host::internal
