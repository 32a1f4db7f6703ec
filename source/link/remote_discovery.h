// Finding a sharing server and connecting to it: a datagram asks who is there, the server's
// 5-character answer and the owner name it sends after the "thanks" give its address, and the
// request connection goes to that address.
#pragma once

#include <cstdint>

#include "common/remote_exchange.h"

constexpr uint16_t kDiscoveryLocalPort = 6000;   // the client's datagram port
constexpr uint16_t kDiscoveryServerPort = 6001;  // where the server hears datagrams
constexpr uint16_t kRemoteRequestPort = 7000;    // the server's request connections
constexpr uint32_t kBroadcastAddress = 0xFFFFFFFFu;
constexpr uint32_t kDiscoveryAnswerWaitMs = 5000;

// Where the datagrams go: "RelaynorAddress" of "KVTINFO_A3" as dotted text, by default the
// broadcast address. False when the value is not an IPv4 address: nothing is sent then.
bool DiscoveryTarget(uint32_t& address);

// The whole discovery and connection, with its messages (socket errors by name, "Time Out!"
// when nobody answers within 5 seconds, and the box that names the owner and the address
// once connected). True with the connection open; false with every socket closed.
bool RemoteDiscoverAndConnect(uint32_t target, RemoteConnection& connection);
