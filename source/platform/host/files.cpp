// Files as POSIX descriptors on the Linux paths that the Windows paths name.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

std::mutex gMutex;
unsigned gFailWriteAt = 0;  // counts down; the write that brings it to 0 fails
int64_t gFreeDiskBytes = host::kRealFreeDiskBytes;

bool WriteShouldFail() {
    std::lock_guard lock(gMutex);
    return gFailWriteAt != 0 && --gFailWriteAt == 0;
}

int ToDescriptor(FileHandle f) {
    return (f < 0 || f > INT32_MAX) ? -1 : static_cast<int>(f);
}

FileHandle OpenPath(const char* path, int flags) {
    if (!path) return kNoFile;
    int fd;
    do {
        fd = ::open(host::MapPath(path).c_str(), flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? kNoFile : fd;
}

int64_t FreeBytesOf(const std::string& path) {
    struct statvfs vfs {};
    if (statvfs(path.c_str(), &vfs) != 0) return -1;
    return static_cast<int64_t>(vfs.f_bavail) * static_cast<int64_t>(vfs.f_frsize);
}

}  // namespace

// Every change to a file is reported after it is made (FilesChanged), so that a profile read
// cached before it is not served after it.
FileHandle FileCreate(const char* path) {
    const FileHandle f = OpenPath(path, O_RDWR | O_CREAT | O_TRUNC);
    host::internal::FilesChanged();
    return f;
}

FileHandle FileOpen(const char* path, FileAccess access) {
    int flags = access == FileAccess::Read ? O_RDONLY
                : access == FileAccess::Write ? O_WRONLY
                                             : O_RDWR;
    const FileHandle f = OpenPath(path, flags);
    if (flags != O_RDONLY) host::internal::FilesChanged();
    return f;
}

int64_t FileRead(FileHandle f, void* buf, size_t bytes) {
    int fd = ToDescriptor(f);
    if (fd < 0 || (!buf && bytes > 0)) return -1;
    size_t done = 0;
    while (done < bytes) {
        ssize_t n = ::read(fd, static_cast<char*>(buf) + done, bytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;  // end of file
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

int64_t FileWrite(FileHandle f, const void* buf, size_t bytes) {
    int fd = ToDescriptor(f);
    if (fd < 0 || (!buf && bytes > 0)) return -1;
    if (WriteShouldFail()) return -1;
    size_t done = 0;
    while (done < bytes) {
        ssize_t n = ::write(fd, static_cast<const char*>(buf) + done, bytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    host::internal::FilesChanged();
    return done == bytes ? static_cast<int64_t>(done) : -1;
}

namespace {

// Segments the kernel wrote only partly: the written bytes are dropped from the front.
void DropWritten(iovec*& v, size_t& n, size_t written) {
    while (n > 0 && written >= v->iov_len) {
        written -= v->iov_len;
        ++v, --n;
    }
    if (n > 0) {
        v->iov_base = static_cast<char*>(v->iov_base) + written;
        v->iov_len -= written;
    }
}

// At most IOV_MAX segments per call, copied so that a partial write can advance them.
bool WriteVector(int fd, int64_t& offset, const FileSegment* segments, size_t count) {
    iovec v[IOV_MAX];
    for (size_t i = 0; i < count; ++i) v[i] = {const_cast<void*>(segments[i].data), segments[i].bytes};
    iovec* next = v;
    size_t left = count;
    for (;;) {
        DropWritten(next, left, 0);  // empty segments: a write of nothing would look like failure
        if (left == 0) return true;
        const ssize_t n = ::pwritev(fd, next, int(left), off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        offset += n;
        DropWritten(next, left, size_t(n));
    }
}

}  // namespace

int64_t FileWriteGather(FileHandle f, int64_t offset, const FileSegment* segments, size_t count,
                        void*, size_t) {
    const int fd = ToDescriptor(f);
    if (fd < 0 || offset < 0 || (!segments && count > 0)) return -1;
    for (size_t i = 0; i < count; ++i)
        if (!segments[i].data && segments[i].bytes > 0) return -1;
    if (WriteShouldFail()) return -1;  // one write, however many segments
    const int64_t start = offset;
    bool written = true;
    for (size_t i = 0; i < count && written; i += IOV_MAX)
        written = WriteVector(fd, offset, segments + i, std::min<size_t>(count - i, IOV_MAX));
    host::internal::FilesChanged();
    return written ? offset - start : -1;
}

int64_t FileSeek(FileHandle f, int64_t offset, SeekFrom from) {
    int fd = ToDescriptor(f);
    if (fd < 0) return -1;
    int whence = from == SeekFrom::Begin ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
    off_t pos = ::lseek(fd, static_cast<off_t>(offset), whence);
    return pos < 0 ? -1 : static_cast<int64_t>(pos);
}

bool FileClose(FileHandle f) {
    int fd = ToDescriptor(f);
    return fd >= 0 && ::close(fd) == 0;
}

bool FileDelete(const char* path) {
    const bool deleted = path && ::unlink(host::MapPath(path).c_str()) == 0;
    host::internal::FilesChanged();
    return deleted;
}

namespace {

// MoveFile never replaces: refuse an existing target, whatever the file system offers.
bool MoveNoReplace(const std::string& source, const std::string& target) {
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0) return false;
    return ::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace

bool FileMove(const char* from, const char* to) {
    if (!from || !to) return false;
    const bool moved = MoveNoReplace(host::MapPath(from), host::MapPath(to));
    host::internal::FilesChanged();
    return moved;
}

bool FileReplace(const char* from, const char* to) {
    if (!from || !to) return false;
    const bool moved = ::rename(host::MapPath(from).c_str(), host::MapPath(to).c_str()) == 0;
    host::internal::FilesChanged();
    return moved;
}

bool FileExists(const char* path) {
    struct stat st {};
    return path && ::stat(host::MapPath(path).c_str(), &st) == 0;
}

int64_t FileSize(const char* path) {
    struct stat st {};
    if (!path || ::stat(host::MapPath(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

int64_t FreeDiskBytes(const char* path) {
    {
        std::lock_guard lock(gMutex);
        if (gFreeDiskBytes != host::kRealFreeDiskBytes) return gFreeDiskBytes;
    }
    if (!path) return -1;
    std::string mapped = host::MapPath(path);
    int64_t bytes = FreeBytesOf(mapped);
    if (bytes < 0) {
        // A file that does not exist yet: ask for the folder it would be in.
        size_t slash = mapped.find_last_of('/');
        if (slash != std::string::npos) bytes = FreeBytesOf(slash == 0 ? "/" : mapped.substr(0, slash));
    }
    return bytes;
}

namespace host {

void FailWriteAt(unsigned n) {
    std::lock_guard lock(gMutex);
    gFailWriteAt = n;
}

void SetFreeDiskBytes(int64_t bytes) {
    std::lock_guard lock(gMutex);
    gFreeDiskBytes = bytes;
}

namespace internal {

void ResetFiles() {
    std::lock_guard lock(gMutex);
    gFailWriteAt = 0;
    gFreeDiskBytes = kRealFreeDiskBytes;
}

}  // namespace internal
}  // namespace host
}  // namespace plat
