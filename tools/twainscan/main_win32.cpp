// twainscan: a TWAIN application for the command line. Every run ends with the line
// "TWAINSCAN OK" or "TWAINSCAN FAILED: reason", so that a caller never has to trust the
// exit code alone.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "listing_command.h"
#include "manager_library.h"
#include "options.h"
#include "parent_window.h"

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

int RunWithManager(const Options& options) {
    ManagerLibrary library;
    std::string error;
    if (!LoadManagerLibrary(library, error)) return Fail(error, 1);
    void* parent = CreateParentWindow(error);
    CommandResult result{false, error};
    if (parent) result = RunListing(options, library.entry, parent, Print);
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
    std::string unsupported = FirstUnsupportedOption(parsed.options);
    if (!unsupported.empty()) return Fail(unsupported + " is not supported yet", 2);
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
