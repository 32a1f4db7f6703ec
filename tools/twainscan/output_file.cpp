#include "tools/twainscan/output_file.h"

#include <cerrno>
#include <cstring>

namespace twainscan {

OutputFile::~OutputFile() {
    if (!file_) return;
    std::fclose(file_);
    std::remove(path_.c_str());
}

bool OutputFile::Failed(const char* what, std::string& error) {
    error = std::string("cannot ") + what + " " + path_ + ": " + std::strerror(errno);
    return false;
}

bool OutputFile::Create(const std::string& path, std::string& error) {
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ || Failed("create", error);
}

bool OutputFile::Write(const void* data, size_t bytes, std::string& error) {
    return std::fwrite(data, 1, bytes, file_) == bytes || Failed("write", error);
}

bool OutputFile::WriteAt(uint64_t offset, const void* data, size_t bytes, std::string& error) {
    // Headers live in the first bytes of a file, well inside what fseek's long can reach.
    if (offset > 0x7FFFFFFF || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        return Failed("seek in", error);
    if (!Write(data, bytes, error)) return false;
    return std::fseek(file_, 0, SEEK_END) == 0 || Failed("seek in", error);
}

bool OutputFile::Finish(std::string& error) {
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (flushed && closed) return true;
    std::remove(path_.c_str());
    error = "cannot finish " + path_ + ": " + std::strerror(errno);
    return false;
}

}  // namespace twainscan
