// Throw-away directories for tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"

namespace plat::host {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "kv-platform-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch directory");
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchDirectory::Subdirectory(const std::string& name) const {
    fs::path dir = fs::path(path_) / name;
    fs::create_directories(dir);
    return dir.string();
}

std::string ScratchDirectory::WriteFile(const std::string& name, const std::string& text) const {
    fs::path file = fs::path(path_) / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    internal::FilesChanged();  // written for the test, but as if through the seam
    return file.string();
}

std::string ScratchDirectory::ReadFile(const std::string& name) const {
    std::ifstream in(fs::path(path_) / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace plat::host
