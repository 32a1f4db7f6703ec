// Writes of an output file done by a second thread while the caller prepares the next block.
// Turning scanner rows into file rows (the BMP colour order) and the system's copy of the
// previous block into the file cache then overlap, so a converted file costs about what a
// plain write of its bytes costs. The caller keeps two blocks and alternates between them.
//
// When no thread can be started the writes happen in the caller's thread, one by one.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform.h"

class WriteBehind {
public:
    WriteBehind() = default;
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;
    ~WriteBehind() { Finish(); }

    // Starts writing into file; the file is the writer's until Finish returns.
    void Start(plat::FileHandle file);

    // Waits for the write handed over before, then hands over `bytes` of data for the file
    // offset `offset`. The data must stay untouched until the next Submit or Finish returns.
    // False when this write cannot be handed over or an earlier one failed.
    bool Submit(const uint8_t* data, uint64_t bytes, int64_t offset);

    // Waits for the last write and ends the thread; true when every write succeeded.
    bool Finish();

private:
    struct Job {
        const uint8_t* data = nullptr;
        uint64_t bytes = 0;
        int64_t offset = 0;
    };

    void Run();
    void WaitIdle(std::unique_lock<std::mutex>& lock);
    static bool WriteAt(plat::FileHandle file, const Job& job);

    plat::FileHandle file_ = plat::kNoFile;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
    Job job_;
    bool pending_ = false;
    bool stopping_ = false;
    bool ok_ = true;
};
