#include "write_behind.h"

#include <new>
#include <system_error>

void WriteBehind::Start(plat::FileHandle file) {
    Finish();
    file_ = file;
    ok_ = true;
    stopping_ = false;
    pending_ = false;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread: Submit writes in the caller's thread.
    } catch (const std::bad_alloc&) {
    }
}

bool WriteBehind::WriteAt(plat::FileHandle file, const Job& job) {
    return plat::FileSeek(file, job.offset, plat::SeekFrom::Begin) == job.offset &&
           plat::FileWrite(file, job.data, job.bytes) == int64_t(job.bytes);
}

void WriteBehind::WaitIdle(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return !pending_; });
}

bool WriteBehind::Submit(const uint8_t* data, uint64_t bytes, int64_t offset) {
    if (file_ == plat::kNoFile) return false;
    const Job job{data, bytes, offset};
    if (!thread_.joinable()) {
        ok_ = ok_ && WriteAt(file_, job);
        return ok_;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    WaitIdle(lock);
    if (!ok_) return false;
    job_ = job;
    pending_ = true;
    lock.unlock();
    changed_.notify_all();
    return true;
}

void WriteBehind::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) return;
        const Job job = job_;
        lock.unlock();
        const bool written = WriteAt(file_, job);
        lock.lock();
        ok_ = ok_ && written;
        pending_ = false;
        changed_.notify_all();
    }
}

bool WriteBehind::Finish() {
    if (thread_.joinable()) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            WaitIdle(lock);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    const bool ok = ok_ && file_ != plat::kNoFile;
    file_ = plat::kNoFile;
    return ok;
}
