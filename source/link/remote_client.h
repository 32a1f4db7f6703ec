// The data source's side of the sharing server: WinSock, the connection that discovery made,
// and each request sent as a frame with its reply taken into the request blocks.
#pragma once

#include <cstdint>

#include "common/remote_exchange.h"

struct RemoteLink {
    bool winSockStarted = false;
    RemoteConnection connection;
};

extern RemoteLink TheRemote;

// WinSock 1.1 ("Open winsock.dll failure!" when it cannot be had).
bool RemoteStart();
// Closes the connection if there is one and stops WinSock if it was started.
void RemoteStop();

// Sends the request (code 1 with its force-calibration flag) and takes the reply into the
// blocks; the block given receives the reply of its own code (code 10: two bytes). False after
// a failed transfer, the disconnect message shown.
bool RemoteExchange(uint32_t functionCode, void* block, uint8_t forceCalibration);

// "A3 Flatbed Scanner disconnects from Relaynor." and "It can't share the remote scanner."
void ShowDisconnectMessage();

// A WinSock error code by its name, over the active window, under the scanner caption.
void ShowSocketErrorName(int winSockCode);
