#include "tools/twainscan/listing_command.h"

#include <vector>

#include "tools/twainscan/identity_text.h"
#include "tools/twainscan/manager_session.h"
#include "tools/twainscan/source_choice.h"

namespace twainscan {
namespace {

CommandResult Failed(std::string reason) { return {false, std::move(reason)}; }

// Each cycle opens the chosen source as the manager listed it and closes it again.
CommandResult OpenAndClose(ManagerSession& session, const TW_IDENTITY& listed, int cycles,
                           const Printer& print) {
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        TW_IDENTITY source = listed;
        std::string error;
        if (!OpenSource(session, source, error)) return Failed(error);
        print("opened " + std::to_string(cycle) + ":\n" + IdentityLines(source));
        if (!CloseSource(session, source, error)) return Failed(error);
        print("closed " + std::to_string(cycle) + "\n");
    }
    return {true, ""};
}

CommandResult PrintRequested(const Options& options, const std::vector<TW_IDENTITY>& sources,
                             ManagerSession& session, const Printer& print) {
    if (options.list) {
        for (const TW_IDENTITY& id : sources) print(SourceListLine(id));
    }
    if (!options.identity && options.openCycles == 0) return {true, ""};
    SourceChoice choice = ChooseSource(sources, options.sourceName);
    if (!choice.ok) return Failed(choice.error);
    if (options.identity) print(IdentityLines(sources[choice.index]));
    return OpenAndClose(session, sources[choice.index], options.openCycles, print);
}

}  // namespace

CommandResult RunListing(const Options& options, DSMENTRYPROC entry, void* parent,
                         const Printer& print) {
    ManagerSession session;
    session.entry = entry;
    session.parent = parent;
    session.app = ApplicationIdentity(options.appName);

    std::string error;
    if (!OpenManager(session, error)) return Failed(error);
    std::vector<TW_IDENTITY> sources;
    CommandResult result = ListSources(session, sources, error)
                               ? PrintRequested(options, sources, session, print)
                               : Failed(error);
    CloseManager(session);
    return result;
}

}  // namespace twainscan
