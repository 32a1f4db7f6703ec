// The peak memory a piece of work adds: the growth of the resident set's high-water mark over
// it alone (Linux: the mark is reset through /proc/self/clear_refs first). Memory touched
// before the watch starts is not counted.
#pragma once

#include <malloc.h>

#include <cstring>
#include <fstream>
#include <string>

inline long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    return -1;
}

// Blocks of 128 KiB and more come straight from the system and go back to it when freed, so
// that every measured piece of work's buffers count afresh instead of reusing what an earlier
// one freed.
inline const bool kFreshBigBlocks = mallopt(M_MMAP_THRESHOLD, 128 * 1024) == 1;

// Resets the high-water mark and returns the resident size it starts from (kB).
inline long StartPeakWatch() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusKb("VmRSS:");
}

inline double PeakGrowthMb(long baselineKb) { return (StatusKb("VmHWM:") - baselineKb) / 1024.0; }
