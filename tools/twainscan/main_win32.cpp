// twainscan: a TWAIN application for the command line. Every run ends with the line
// "TWAINSCAN OK" or "TWAINSCAN FAILED: reason", so that a caller never has to trust the
// exit code alone.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/twainscan/acquire_command.h"
#include "tools/twainscan/listing_command.h"
#include "tools/twainscan/manager_library.h"
#include "tools/twainscan/options.h"
#include "tools/twainscan/parent_window.h"
#include "tools/twainscan/win32_services.h"

namespace {

using namespace twainscan;

void Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

int Succeed() {
    Print("TWAINSCAN OK\n");
    return 0;
}

int Fail(const std::string& reason, int exitCode) {
    Print("TWAINSCAN FAILED: " + reason + "\n");
    return exitCode;
}

// Listing first when asked for, then the acquisition, each in its own manager session.
CommandResult RunCommands(const Options& options, DSMENTRYPROC entry, void* parent) {
    CommandResult result{true, ""};
    if (options.list || options.identity || options.openCycles > 0)
        result = RunListing(options, entry, parent, Print);
    if (!result.ok || !WantsAcquisition(options)) return result;
    auto pump = MakeThreadMessagePump();
    auto blocks = MakeGlobalMemoryBlocks();
    AcquireServices services{entry, parent, pump.get(), blocks.get()};
    return RunAcquisition(options, services, Print);
}

int RunWithManager(const Options& options) {
    ManagerLibrary library;
    std::string error;
    if (!LoadManagerLibrary(library, options.managerLibrary, error)) return Fail(error, 1);
    void* parent = CreateParentWindow(error);
    CommandResult result{false, error};
    if (parent) result = RunCommands(options, library.entry, parent);
    DestroyParentWindow(parent);
    FreeManagerLibrary(library);
    return result.ok ? Succeed() : Fail(result.failure, 1);
}

int Run(int argc, char** argv) {
    ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok) return Fail(parsed.error, 2);
    if (parsed.options.help) {
        Print(UsageText());
        return Succeed();
    }
    return RunWithManager(parsed.options);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what(), 1);
    } catch (...) {
        return Fail("internal error", 1);
    }
}
