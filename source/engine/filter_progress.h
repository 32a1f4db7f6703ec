// How a whole-image filter reports its rows and learns that the user pressed Escape. The
// engine knows nothing of windows: the native transfer passes a callback that pumps the
// message queue, draws the progress window and answers whether to stop.
#pragma once

#include <cstdint>

struct FilterProgress {
    // Called after every finished row with the rows done and the rows of the whole operation
    // (all passes together). Returning true stops the filter at once: the rows done so far
    // stay filtered, the rest stay as they were.
    bool (*rowDone)(void* context, uint32_t done, uint32_t total) = nullptr;
    void* context = nullptr;
};

enum class FilterResult {
    Done,       // every row processed (or nothing to do for this bit count)
    Stopped,    // the callback asked to stop; the bitmap holds the rows done so far
    Unchanged,  // the header does not fit the block, or a work copy could not be allocated
};

// Counts the rows of an operation and asks the callback after each one.
struct RowCounter {
    const FilterProgress& progress;
    uint32_t total;
    uint32_t done = 0;
    // True when the filter must stop.
    bool Next() {
        ++done;
        return progress.rowDone && progress.rowDone(progress.context, done, total);
    }
};
