// Files through CreateFile and friends; a FileHandle is the HANDLE itself, so
// INVALID_HANDLE_VALUE is kNoFile.
#include <string>

#include "platform/win32/win32_api.h"

namespace plat {
namespace {

// ReadFile and WriteFile take 32-bit counts; larger transfers go in pieces.
constexpr size_t kChunk = 0x40000000;

HANDLE ToHandle(FileHandle f) { return reinterpret_cast<HANDLE>(f); }

FileHandle Open(const char* path, DWORD access, DWORD disposition) {
    if (!path) return kNoFile;
    HANDLE h = ::CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(h);
}

int64_t FreeBytesOf(const std::string& path) {
    ULARGE_INTEGER available {};
    if (!::GetDiskFreeSpaceExA(path.c_str(), &available, nullptr, nullptr)) return -1;
    return static_cast<int64_t>(available.QuadPart);
}

}  // namespace

FileHandle FileCreate(const char* path) {
    return Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

FileHandle FileOpen(const char* path, FileAccess access) {
    DWORD rights = access == FileAccess::Read    ? GENERIC_READ
                   : access == FileAccess::Write ? GENERIC_WRITE
                                                 : GENERIC_READ | GENERIC_WRITE;
    return Open(path, rights, OPEN_EXISTING);
}

int64_t FileRead(FileHandle f, void* buf, size_t bytes) {
    if (f == kNoFile || (!buf && bytes > 0)) return -1;
    size_t done = 0;
    while (done < bytes) {
        DWORD want = static_cast<DWORD>(bytes - done < kChunk ? bytes - done : kChunk);
        DWORD got = 0;
        if (!::ReadFile(ToHandle(f), static_cast<char*>(buf) + done, want, &got, nullptr))
            return -1;
        if (got == 0) break;  // end of file
        done += got;
    }
    return static_cast<int64_t>(done);
}

int64_t FileWrite(FileHandle f, const void* buf, size_t bytes) {
    if (f == kNoFile || (!buf && bytes > 0)) return -1;
    size_t done = 0;
    while (done < bytes) {
        DWORD want = static_cast<DWORD>(bytes - done < kChunk ? bytes - done : kChunk);
        DWORD put = 0;
        if (!::WriteFile(ToHandle(f), static_cast<const char*>(buf) + done, want, &put, nullptr) ||
            put == 0)
            return -1;
        done += put;
    }
    return static_cast<int64_t>(done);
}

namespace {

// WriteFileGather takes only unbuffered, page-aligned pieces: the segments are collected in
// the caller's scratch block and written a block at a time instead.
struct Collector {
    FileHandle file;
    char* scratch;
    size_t capacity, used = 0;

    bool Flush() {
        const bool ok = used == 0 || FileWrite(file, scratch, used) == int64_t(used);
        used = 0;
        return ok;
    }
    bool Add(const FileSegment& s) {
        if (s.bytes > capacity) return Flush() && FileWrite(file, s.data, s.bytes) == int64_t(s.bytes);
        if (s.bytes > capacity - used && !Flush()) return false;
        CopyMemory(scratch + used, s.data, s.bytes);
        used += s.bytes;
        return true;
    }
};

}  // namespace

int64_t FileWriteGather(FileHandle f, int64_t offset, const FileSegment* segments, size_t count,
                        void* scratch, size_t scratchBytes) {
    if (f == kNoFile || offset < 0 || (!segments && count > 0)) return -1;
    if (!scratch) scratchBytes = 0;
    for (size_t i = 0; i < count; ++i)
        if (!segments[i].data && segments[i].bytes > 0) return -1;
    if (FileSeek(f, offset, SeekFrom::Begin) != offset) return -1;
    Collector c{f, static_cast<char*>(scratch), scratchBytes};
    int64_t total = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!c.Add(segments[i])) return -1;
        total += int64_t(segments[i].bytes);
    }
    return c.Flush() ? total : -1;
}

int64_t FileSeek(FileHandle f, int64_t offset, SeekFrom from) {
    if (f == kNoFile) return -1;
    DWORD method = from == SeekFrom::Begin ? FILE_BEGIN
                   : from == SeekFrom::Current ? FILE_CURRENT
                                               : FILE_END;
    LARGE_INTEGER distance {};
    distance.QuadPart = offset;
    LARGE_INTEGER position {};
    if (!::SetFilePointerEx(ToHandle(f), distance, &position, method)) return -1;
    return position.QuadPart;
}

bool FileClose(FileHandle f) { return f != kNoFile && ::CloseHandle(ToHandle(f)) != FALSE; }

bool FileDelete(const char* path) { return path && ::DeleteFileA(path) != FALSE; }

bool FileMove(const char* from, const char* to) {
    return from && to && ::MoveFileA(from, to) != FALSE;
}

bool FileReplace(const char* from, const char* to) {
    return from && to && ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool FileExists(const char* path) {
    return path && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int64_t FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!path || !::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int64_t FreeDiskBytes(const char* path) {
    if (!path) return -1;
    // The system answers for folders only: for a file (or a name not yet created) ask for the
    // folder it is in, and failing that for the root of its drive.
    std::string text = path;
    int64_t bytes = FreeBytesOf(text);
    size_t slash = text.find_last_of('\\');
    if (bytes < 0 && slash != std::string::npos) bytes = FreeBytesOf(text.substr(0, slash + 1));
    if (bytes < 0 && text.size() >= 3 && text[1] == ':' && text[2] == '\\')
        bytes = FreeBytesOf(text.substr(0, 3));
    return bytes;
}

}  // namespace plat
