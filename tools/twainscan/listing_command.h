// --list and --identity: open the manager, list its sources, print, close.
#pragma once

#include <string>

#include "common/twain.h"
#include "tools/twainscan/options.h"
#include "tools/twainscan/printer.h"

namespace twainscan {

struct CommandResult {
    bool ok = false;
    std::string failure;  // when !ok
};

// The manager is closed again whatever happens after it opened.
CommandResult RunListing(const Options& options, DSMENTRYPROC entry, void* parent,
                         const Printer& print);

}  // namespace twainscan
