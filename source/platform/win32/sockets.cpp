// WinSock 1.1 calls; receive timeouts through select().
#include <climits>

#include "platform/win32/win32_api.h"

namespace plat {
namespace {

SOCKET ToSocket(Socket s) { return static_cast<SOCKET>(s); }

Socket FromSocket(SOCKET s) { return s == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(s); }

sockaddr_in Address(uint32_t ipv4HostOrder, uint16_t port) {
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ipv4HostOrder);
    address.sin_port = htons(port);
    return address;
}

int Length(size_t bytes) { return bytes > INT_MAX ? INT_MAX : static_cast<int>(bytes); }

// Readable within the time, or else false with the time-out (or the wait's error) recorded.
bool AwaitData(Socket s, uint32_t timeoutMs) {
    const int ready = SocketWaitReadable(s, timeoutMs);
    if (ready == 0) ::WSASetLastError(WSAETIMEDOUT);
    return ready > 0;
}

}  // namespace

bool SocketStartup() {
    WSADATA data {};
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
    if (LOBYTE(data.wVersion) != 1 || HIBYTE(data.wVersion) != 1) {
        ::WSACleanup();
        return false;
    }
    return true;
}

void SocketCleanup() { ::WSACleanup(); }

Socket SocketOpenUdp() { return FromSocket(::socket(AF_INET, SOCK_DGRAM, 0)); }

Socket SocketOpenTcp() { return FromSocket(::socket(AF_INET, SOCK_STREAM, 0)); }

bool SocketSetBroadcast(Socket s, bool on) {
    BOOL value = on ? TRUE : FALSE;
    return ::setsockopt(ToSocket(s), SOL_SOCKET, SO_BROADCAST,
                        reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

bool SocketSetBufferSizes(Socket s, int bytes) {
    const char* value = reinterpret_cast<const char*>(&bytes);
    return ::setsockopt(ToSocket(s), SOL_SOCKET, SO_RCVBUF, value, sizeof bytes) == 0 &&
           ::setsockopt(ToSocket(s), SOL_SOCKET, SO_SNDBUF, value, sizeof bytes) == 0;
}

bool SocketBind(Socket s, uint32_t ipv4HostOrder, uint16_t port) {
    sockaddr_in address = Address(ipv4HostOrder, port);
    return ::bind(ToSocket(s), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool SocketConnect(Socket s, uint32_t ipv4HostOrder, uint16_t port) {
    sockaddr_in address = Address(ipv4HostOrder, port);
    return ::connect(ToSocket(s), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool SocketSetReuseAddress(Socket s, bool on) {
    BOOL value = on ? TRUE : FALSE;
    return ::setsockopt(ToSocket(s), SOL_SOCKET, SO_REUSEADDR,
                        reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

bool SocketListen(Socket s, int backlog) { return ::listen(ToSocket(s), backlog) == 0; }

Socket SocketAccept(Socket s, uint32_t timeoutMs, uint32_t* peerIpv4HostOrder, uint16_t* peerPort) {
    if (!AwaitData(s, timeoutMs)) return kNoSocket;
    sockaddr_in address {};
    int length = sizeof address;
    Socket peer = FromSocket(::accept(ToSocket(s), reinterpret_cast<sockaddr*>(&address), &length));
    if (peer == kNoSocket) return kNoSocket;
    if (peerIpv4HostOrder) *peerIpv4HostOrder = ntohl(address.sin_addr.s_addr);
    if (peerPort) *peerPort = ntohs(address.sin_port);
    return peer;
}

int SocketWaitReadable(Socket s, uint32_t timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(ToSocket(s), &readable);
    timeval limit {};
    limit.tv_sec = static_cast<long>(timeoutMs / 1000);
    limit.tv_usec = static_cast<long>(timeoutMs % 1000) * 1000;
    int rc = ::select(0, &readable, nullptr, nullptr, timeoutMs == kWaitForever ? nullptr : &limit);
    if (rc == SOCKET_ERROR) return -1;
    return rc == 0 ? 0 : 1;
}

int64_t SocketSend(Socket s, const void* buf, size_t bytes) {
    int n = ::send(ToSocket(s), static_cast<const char*>(buf), Length(bytes), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

int64_t SocketReceive(Socket s, void* buf, size_t bytes, uint32_t timeoutMs) {
    if (!AwaitData(s, timeoutMs)) return -1;
    int n = ::recv(ToSocket(s), static_cast<char*>(buf), Length(bytes), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

int64_t SocketSendTo(Socket s, const void* buf, size_t bytes, uint32_t ipv4HostOrder,
                     uint16_t port) {
    sockaddr_in address = Address(ipv4HostOrder, port);
    int n = ::sendto(ToSocket(s), static_cast<const char*>(buf), Length(bytes), 0,
                     reinterpret_cast<sockaddr*>(&address), sizeof address);
    return n == SOCKET_ERROR ? -1 : n;
}

int64_t SocketReceiveFrom(Socket s, void* buf, size_t bytes, uint32_t timeoutMs,
                          uint32_t* fromIpv4HostOrder, uint16_t* fromPort) {
    if (!AwaitData(s, timeoutMs)) return -1;
    sockaddr_in address {};
    int length = sizeof address;
    int n = ::recvfrom(ToSocket(s), static_cast<char*>(buf), Length(bytes), 0,
                       reinterpret_cast<sockaddr*>(&address), &length);
    if (n == SOCKET_ERROR) return -1;
    if (fromIpv4HostOrder) *fromIpv4HostOrder = ntohl(address.sin_addr.s_addr);
    if (fromPort) *fromPort = ntohs(address.sin_port);
    return n;
}

void SocketClose(Socket s) {
    if (s != kNoSocket) ::closesocket(ToSocket(s));
}

void SocketAbort(Socket s) {
    if (s == kNoSocket) return;
    LINGER reset {};
    reset.l_onoff = 1;
    reset.l_linger = 0;
    ::setsockopt(ToSocket(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset),
                 sizeof reset);
    ::closesocket(ToSocket(s));
}

void SocketShutdown(Socket s) {
    if (s != kNoSocket) ::shutdown(ToSocket(s), SD_BOTH);
}

int SocketLastError() { return ::WSAGetLastError(); }

}  // namespace plat
