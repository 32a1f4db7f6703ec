#include "listing_command.h"

#include <vector>

#include "identity_text.h"
#include "manager_session.h"
#include "source_choice.h"

namespace twainscan {
namespace {

CommandResult Failed(std::string reason) { return {false, std::move(reason)}; }

CommandResult PrintRequested(const Options& options, const std::vector<TW_IDENTITY>& sources,
                             const Printer& print) {
    if (options.list) {
        for (const TW_IDENTITY& id : sources) print(SourceListLine(id));
    }
    if (options.identity) {
        SourceChoice choice = ChooseSource(sources, options.sourceName);
        if (!choice.ok) return Failed(choice.error);
        print(IdentityLines(sources[choice.index]));
    }
    return {true, ""};
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
                               ? PrintRequested(options, sources, print)
                               : Failed(error);
    CloseManager(session);
    return result;
}

}  // namespace twainscan
