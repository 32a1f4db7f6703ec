// WinSock 1.1 calls on BSD sockets. Errors are kept as WinSock numbers so that the messages
// built from them read the same as under Windows.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace plat {
namespace {

thread_local int tLastError = 0;

int WinSockCode(int error) {
    switch (error) {
        case EINTR: return 10004;
        case EBADF: return 10009;
        case EACCES: return 10013;
        case EFAULT: return 10014;
        case EINVAL: return 10022;
        case EMFILE: return 10024;
        case EAGAIN: return 10035;
        case EINPROGRESS: return 10036;
        case EALREADY: return 10037;
        case ENOTSOCK: return 10038;
        case EDESTADDRREQ: return 10039;
        case EMSGSIZE: return 10040;
        case EPROTOTYPE: return 10041;
        case ENOPROTOOPT: return 10042;
        case EPROTONOSUPPORT: return 10043;
        case ESOCKTNOSUPPORT: return 10044;
        case EOPNOTSUPP: return 10045;
        case EPFNOSUPPORT: return 10046;
        case EAFNOSUPPORT: return 10047;
        case EADDRINUSE: return 10048;
        case EADDRNOTAVAIL: return 10049;
        case ENETDOWN: return 10050;
        case ENETUNREACH: return 10051;
        case ENETRESET: return 10052;
        case ECONNABORTED: return 10053;
        case ECONNRESET: case EPIPE: return 10054;
        case ENOBUFS: return 10055;
        case EISCONN: return 10056;
        case ENOTCONN: return 10057;
        case ESHUTDOWN: return 10058;
        case ETOOMANYREFS: return 10059;
        case ETIMEDOUT: return 10060;
        case ECONNREFUSED: return 10061;
        case ELOOP: return 10062;
        case ENAMETOOLONG: return 10063;
        case EHOSTDOWN: return 10064;
        case EHOSTUNREACH: return 10065;
        case ENOTEMPTY: return 10066;
        default: return 10022;
    }
}

bool Fail() {
    tLastError = WinSockCode(errno);
    return false;
}

int Descriptor(Socket s) { return (s < 0 || s > INT_MAX) ? -1 : static_cast<int>(s); }

sockaddr_in Address(uint32_t ipv4HostOrder, uint16_t port) {
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ipv4HostOrder);
    address.sin_port = htons(port);
    return address;
}

Socket Open(int type) {
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        Fail();
        return kNoSocket;
    }
    return fd;
}

bool IsDatagram(int fd) {
    int type = 0;
    socklen_t length = sizeof type;
    return ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) == 0 && type == SOCK_DGRAM;
}

// One receive. A datagram larger than the buffer fills the buffer and fails with
// WSAEMSGSIZE, as WinSock does; Linux would cut it silently.
int64_t Receive(int fd, void* buf, size_t bytes, sockaddr_in* from) {
    const bool datagram = IsDatagram(fd);
    socklen_t length = sizeof(sockaddr_in);
    ssize_t n;
    do {
        n = ::recvfrom(fd, buf, bytes, datagram ? MSG_TRUNC : 0,
                       reinterpret_cast<sockaddr*>(from), from ? &length : nullptr);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        Fail();
        return -1;
    }
    if (datagram && static_cast<size_t>(n) > bytes) {
        tLastError = 10040;  // WSAEMSGSIZE
        return -1;
    }
    return n;
}

int TimeoutForPoll(uint32_t timeoutMs) {
    if (timeoutMs == kWaitForever) return -1;
    return timeoutMs > INT_MAX ? INT_MAX : static_cast<int>(timeoutMs);
}

// The host build is for tests: a packet may leave only for a loopback address, unless the
// test runs in a network namespace of its own and says so. A slip in a test's set-up then
// fails at once instead of sending a broadcast into the machine's network.
bool MayReach(uint32_t ipv4HostOrder) {
    if ((ipv4HostOrder >> 24) == 127) return true;
    const char* own = std::getenv("KV_OWN_NETWORK_NAMESPACE");
    if (own && std::strcmp(own, "1") == 0) return true;
    tLastError = 10051;  // WSAENETUNREACH
    return false;
}

// Readable within the time, or else false with the time-out (or the wait's error) recorded.
bool AwaitData(Socket s, uint32_t timeoutMs) {
    const int ready = SocketWaitReadable(s, timeoutMs);
    if (ready == 0) tLastError = 10060;  // WSAETIMEDOUT
    return ready > 0;
}

}  // namespace

bool SocketStartup() { return true; }

void SocketCleanup() {}

Socket SocketOpenUdp() { return Open(SOCK_DGRAM); }

Socket SocketOpenTcp() { return Open(SOCK_STREAM); }

bool SocketSetBroadcast(Socket s, bool on) {
    int value = on ? 1 : 0;
    return ::setsockopt(Descriptor(s), SOL_SOCKET, SO_BROADCAST, &value, sizeof value) == 0 ||
           Fail();
}

bool SocketSetBufferSizes(Socket s, int bytes) {
    int fd = Descriptor(s);
    return (::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0 &&
            ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes) == 0) ||
           Fail();
}

bool SocketBind(Socket s, uint32_t ipv4HostOrder, uint16_t port) {
    sockaddr_in address = Address(ipv4HostOrder, port);
    return ::bind(Descriptor(s), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ||
           Fail();
}

bool SocketConnect(Socket s, uint32_t ipv4HostOrder, uint16_t port) {
    if (!MayReach(ipv4HostOrder)) return false;
    sockaddr_in address = Address(ipv4HostOrder, port);
    int rc;
    do {
        rc = ::connect(Descriptor(s), reinterpret_cast<sockaddr*>(&address), sizeof address);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || Fail();
}

bool SocketSetReuseAddress(Socket s, bool on) {
    int value = on ? 1 : 0;
    return ::setsockopt(Descriptor(s), SOL_SOCKET, SO_REUSEADDR, &value, sizeof value) == 0 ||
           Fail();
}

bool SocketListen(Socket s, int backlog) { return ::listen(Descriptor(s), backlog) == 0 || Fail(); }

Socket SocketAccept(Socket s, uint32_t timeoutMs, uint32_t* peerIpv4HostOrder, uint16_t* peerPort) {
    if (!AwaitData(s, timeoutMs)) return kNoSocket;
    sockaddr_in address {};
    socklen_t length = sizeof address;
    int fd;
    do {
        fd = ::accept4(Descriptor(s), reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail();
        return kNoSocket;
    }
    if (peerIpv4HostOrder) *peerIpv4HostOrder = ntohl(address.sin_addr.s_addr);
    if (peerPort) *peerPort = ntohs(address.sin_port);
    return fd;
}

int SocketWaitReadable(Socket s, uint32_t timeoutMs) {
    pollfd p {Descriptor(s), POLLIN, 0};
    if (p.fd < 0) {
        tLastError = 10038;  // WSAENOTSOCK
        return -1;
    }
    int rc;
    do {
        rc = ::poll(&p, 1, TimeoutForPoll(timeoutMs));
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        Fail();
        return -1;
    }
    return rc == 0 ? 0 : 1;  // an error or hang-up condition is "readable", as select() says
}

int64_t SocketSend(Socket s, const void* buf, size_t bytes) {
    ssize_t n;
    do {
        n = ::send(Descriptor(s), buf, bytes, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    if (n < 0) Fail();
    return n;
}

int64_t SocketReceive(Socket s, void* buf, size_t bytes, uint32_t timeoutMs) {
    if (!AwaitData(s, timeoutMs)) return -1;
    return Receive(Descriptor(s), buf, bytes, nullptr);
}

int64_t SocketSendTo(Socket s, const void* buf, size_t bytes, uint32_t ipv4HostOrder,
                     uint16_t port) {
    if (!MayReach(ipv4HostOrder)) return -1;
    sockaddr_in address = Address(ipv4HostOrder, port);
    ssize_t n;
    do {
        n = ::sendto(Descriptor(s), buf, bytes, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&address),
                     sizeof address);
    } while (n < 0 && errno == EINTR);
    if (n < 0) Fail();
    return n;
}

int64_t SocketReceiveFrom(Socket s, void* buf, size_t bytes, uint32_t timeoutMs,
                          uint32_t* fromIpv4HostOrder, uint16_t* fromPort) {
    if (!AwaitData(s, timeoutMs)) return -1;
    sockaddr_in address {};
    int64_t n = Receive(Descriptor(s), buf, bytes, &address);
    if (n < 0) return -1;
    if (fromIpv4HostOrder) *fromIpv4HostOrder = ntohl(address.sin_addr.s_addr);
    if (fromPort) *fromPort = ntohs(address.sin_port);
    return n;
}

void SocketClose(Socket s) {
    int fd = Descriptor(s);
    if (fd >= 0) ::close(fd);
}

void SocketAbort(Socket s) {
    int fd = Descriptor(s);
    if (fd < 0) return;
    linger reset {1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(fd);
}

void SocketShutdown(Socket s) {
    int fd = Descriptor(s);
    if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
}

int SocketLastError() { return tLastError; }

}  // namespace plat
