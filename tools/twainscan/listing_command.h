// --list and --identity: open the manager, list its sources, print, close.
#pragma once

#include <functional>
#include <string>

#include "options.h"
#include "twain.h"

namespace twainscan {

// Receives text as soon as it is known, so that a run that dies half-way has shown its steps.
using Printer = std::function<void(const std::string& text)>;

struct CommandResult {
    bool ok = false;
    std::string failure;  // when !ok
};

// The manager is closed again whatever happens after it opened.
CommandResult RunListing(const Options& options, DSMENTRYPROC entry, void* parent,
                         const Printer& print);

}  // namespace twainscan
