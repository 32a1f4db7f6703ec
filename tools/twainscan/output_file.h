// A file twainscan writes itself. Until Finish succeeds the file is not an image: dropping
// an unfinished OutputFile closes and deletes it, so a failed run never leaves a file that
// looks like a result.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace twainscan {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    bool Create(const std::string& path, std::string& error);  // replaces an existing file
    bool Write(const void* data, size_t bytes, std::string& error);
    // Rewrites bytes already written (a header completed at the end), then returns to the end.
    bool WriteAt(uint64_t offset, const void* data, size_t bytes, std::string& error);
    bool Finish(std::string& error);  // flush and close; the file stays

private:
    bool Failed(const char* what, std::string& error);
    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace twainscan
