// The client side of the sharing server: WinSock start, discovery and connection, and the
// exchange of request frames.
#pragma once

#include <cstdint>

bool RemoteStart();                 // WinSock 1.1; shows its own message on failure
bool RemoteDiscoverAndConnect();    // false when no sharing server answered
// Sends the request frame and takes the reply into the block; on failure the disconnect
// message has been shown.
bool RemoteExchange(uint32_t functionCode, void* block);
void RemoteStop();                  // closes the connection and stops WinSock
