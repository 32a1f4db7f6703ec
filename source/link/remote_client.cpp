#include "link/remote_client.h"

#include "common/winsock_error_names.h"
#include "link/request_blocks_in_use.h"
#include "session/interface_language.h"
#include "session/messages.h"

RemoteLink TheRemote;

bool RemoteStart() {
    if (TheRemote.winSockStarted) return true;
    if (plat::SocketStartup()) {
        TheRemote.winSockStarted = true;
        return true;
    }
    ShowPlainMessage(nullptr, "Open winsock.dll failure!");
    return false;
}

void RemoteStop() {
    RemoteClose(TheRemote.connection);
    if (TheRemote.winSockStarted) plat::SocketCleanup();
    TheRemote.winSockStarted = false;
}

bool RemoteExchange(uint32_t functionCode, void* block, uint8_t forceCalibration) {
    RemoteConnection& c = TheRemote.connection;
    if (RemoteSendRequest(c, functionCode, block, forceCalibration, ShowSocketErrorName) &&
        RemoteReceiveReply(c, functionCode, ReplyBlocksOf(TheRequests, functionCode, block),
                           ShowSocketErrorName))
        return true;
    ShowDisconnectMessage();
    return false;
}

void ShowDisconnectMessage() {
    ShowPlainMessage(nullptr, LanguageString(831) + "\n" + LanguageString(832));
}

void ShowSocketErrorName(int winSockCode) {
    plat::MessageBox(plat::ActiveWindow(), WinSockErrorName(winSockCode), ScannerCaption().c_str(),
                     plat::kMbOk);
}
