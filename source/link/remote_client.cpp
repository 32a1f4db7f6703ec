#include "link/remote_client.h"

#include "common/winsock_error_names.h"
#include "link/request_blocks_in_use.h"
#include "session/interface_language.h"
#include "session/messages.h"

RemoteLink TheRemote;

namespace {

// Every code's reply lands in the source's own block of that code; the caller's block takes
// the reply of the code it asked for (the shading reply has no block of its own).
ReplyBlocks SourceReplyBlocks(uint32_t functionCode, void* block) {
    ReplyBlocks blocks;
    blocks.byCode[ScanRequestInquiry] = &TheRequests.inquiry;
    blocks.byCode[ScanRequestSetParameters] = &TheRequests.setParameters;
    blocks.byCode[ScanRequestSendGamma] = &TheRequests.sendGamma;
    blocks.byCode[ScanRequestStartScan] = &TheRequests.startScan;
    blocks.byCode[ScanRequestStop] = &TheRequests.stop;
    blocks.byCode[ScanRequestShadingInfo] = &TheRequests.shadingInfo;
    blocks.byCode[ScanRequestReadData] = &TheRequests.readData;
    blocks.byCode[ScanRequestGetStatus] = &TheRequests.getStatus;
    if (functionCode <= ScanRequestRemoteShading) blocks.byCode[functionCode] = block;
    return blocks;
}

}  // namespace

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
        RemoteReceiveReply(c, functionCode, SourceReplyBlocks(functionCode, block),
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
