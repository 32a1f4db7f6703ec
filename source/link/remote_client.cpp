#include "link/remote_client.h"

#include "platform/platform.h"
#include "session/interface_language.h"
#include "session/messages.h"

// The sharing-server protocol is not spoken yet: discovery finds nobody, so a scanner held
// by another user is reported as not found.
bool RemoteStart() {
    if (plat::SocketStartup()) return true;
    ShowPlainMessage(nullptr, "Open winsock.dll failure!");
    return false;
}

bool RemoteDiscoverAndConnect() { return false; }

bool RemoteExchange(uint32_t, void*) {
    ShowPlainMessage(nullptr, LanguageString(831) + "\n" + LanguageString(832));
    return false;
}

void RemoteStop() { plat::SocketCleanup(); }
