#include "twain/initialise.h"

#include <string>

#include "platform/platform.h"
#include "twain/identity.h"
#include "twain/source_record.h"

namespace {

// The 16-bit thunking server would otherwise be started for 16-bit applications and take
// the scanner; renaming it to .OLD keeps it from running. Errors are not reported.
void DisableThunkingServer() {
    char dir[260] = {};
    if (plat::WindowsDirectory(dir, sizeof dir) == 0) return;
    const std::string exe = std::string(dir) + "\\TWUNK_16.EXE";
    const std::string old = std::string(dir) + "\\TWUNK_16.OLD";
    if (!plat::FileExists(exe.c_str())) return;
    if (plat::FileExists(old.c_str())) plat::FileDelete(old.c_str());
    plat::FileMove(exe.c_str(), old.c_str());
}

}  // namespace

void InitialiseSource() {
    TheSource.SourceState = 300;
    TheSource.AppIdentity.Id = 0;
    FillSourceIdentity(TheSource.SourceIdentity);
    DisableThunkingServer();
}
