// An acquisition from start to end: open the manager, open our source, negotiate, enable,
// wait for the image in the event loop, take each image by the chosen transfer, end the
// transfers, disable, close. Whatever fails, the source and the manager are closed again in
// the order TWAIN's states require.
#pragma once

#include <string>

#include "common/twain.h"
#include "tools/twainscan/event_wait.h"
#include "tools/twainscan/listing_command.h"
#include "tools/twainscan/memory_blocks.h"
#include "tools/twainscan/options.h"
#include "tools/twainscan/printer.h"

namespace twainscan {

struct AcquireServices {
    DSMENTRYPROC entry = nullptr;
    void* parent = nullptr;  // the application's window, given to the manager and the source
    MessagePump* pump = nullptr;
    MemoryBlocks* blocks = nullptr;
};

// The file of image n (from 1): the path itself for the first, "<stem>-<n><ext>" after.
std::string ImagePath(const std::string& path, int n);

// ok only when at least one image was written.
CommandResult RunAcquisition(const Options& options, const AcquireServices& services,
                             const Printer& print);

}  // namespace twainscan
