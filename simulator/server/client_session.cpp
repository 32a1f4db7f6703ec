#include "simulator/server/client_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "common/remote_frames.h"
#include "simulator/server/server_requests.h"

namespace {

constexpr uint32_t kStopCheckMs = 100;
constexpr int kTimedOut = 10060;  // WSAETIMEDOUT

enum class Arrival { Frame, Left, Stopped };

// The next frame's code byte; the stop flag is looked at between waits.
Arrival FirstByte(plat::Socket s, uint8_t& code, const std::atomic<bool>& stop) {
    for (;;) {
        if (stop) return Arrival::Stopped;
        const int64_t n = plat::SocketReceive(s, &code, 1, kStopCheckMs);
        if (n == 1) return Arrival::Frame;
        if (n == 0 || plat::SocketLastError() != kTimedOut) return Arrival::Left;
    }
}

bool ReceiveRest(plat::Socket s, uint8_t* into, size_t bytes) {
    for (size_t done = 0; done < bytes;) {
        const int64_t n = plat::SocketReceive(s, into + done, bytes - done, kFrameRestWaitMs);
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// Everything sent; in pieces with a pause between them when the split fault asks for it, so
// that the client receives them apart.
bool SendAll(plat::Socket s, const uint8_t* data, size_t bytes, uint32_t pieceBytes) {
    for (size_t done = 0; done < bytes;) {
        const size_t piece = pieceBytes ? std::min<size_t>(pieceBytes, bytes - done) : bytes - done;
        const int64_t n = plat::SocketSend(s, data + done, piece);
        if (n <= 0) return false;
        done += size_t(n);
        if (pieceBytes && done < bytes) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

// The reply of the fault switches: another code's whole reply, a frame of a code that has
// none, or the reply with bytes after its end.
void MisshapeReply(const ServerFaults& f, uint32_t frameNumber, ServedFrame& served,
                   FrameLog& log) {
    if (frameNumber == f.wrongCodeAtFrame) {
        const uint8_t other = served.reply[0] == ScanRequestGetStatus ? ScanRequestStop
                                                                       : ScanRequestGetStatus;
        GetStatusBlock status{};
        StopBlock stopBlock{};
        served.replyBytes = EncodeReplyFrame(
            other, other == ScanRequestGetStatus ? static_cast<void*>(&status) : &stopBlock,
            served.reply);
        LogLine(log, "fault: reply of code " + std::to_string(other));
    }
    if (frameNumber == f.badCodeAtFrame) {
        served.reply[0] = f.badCode;
        LogLine(log, "fault: reply code " + std::to_string(f.badCode));
    }
    if (frameNumber == f.overlongAtFrame) {
        for (int i = 0; i < 5; ++i) served.reply[served.replyBytes++] = 0xEE;
        LogLine(log, "fault: 5 bytes past the reply");
    }
}

struct Session {
    ClientSessionState state;
    bool reset = false;  // end the connection with a reset instead of an orderly close
    uint8_t frame[kRemoteLargestFrame];
    ServedFrame served;
};

// One frame: false when the connection ends with it.
bool ServeOneFrame(plat::Socket s, uint8_t code, uint32_t frameNumber, Device& device,
                   const ServerOptions& options, Session& session, FrameLog& log) {
    const size_t bytes = RequestFrameBytes(code);
    if (bytes == 0) {
        LogLine(log, "frame " + std::to_string(frameNumber) + ": unknown code " +
                         std::to_string(code) + ", connection closed");
        return false;
    }
    uint8_t* frame = session.frame;
    frame[0] = code;
    if (!ReceiveRest(s, frame + 1, bytes - 1)) return false;
    const ServerFaults& f = options.faults;
    if (frameNumber == f.closeAtFrame || frameNumber == f.resetAtFrame) {
        session.reset = frameNumber == f.resetAtFrame;
        LogLine(log, std::string("fault: connection ") + (session.reset ? "reset" : "closed") +
                         " at frame " + std::to_string(frameNumber));
        return false;
    }
    if (frameNumber == f.stallAtFrame) {
        LogLine(log, "fault: stall " + std::to_string(f.stallSeconds) + " s");
        std::this_thread::sleep_for(std::chrono::seconds(f.stallSeconds));
    }
    ServedFrame& served = session.served;
    ServeFrame(device, frame, session.state, served);
    if (!served.followable) {
        LogLine(log, "frame " + std::to_string(frameNumber) + ": a read past the limit");
        return false;
    }
    MisshapeReply(f, frameNumber, served, log);
    LogLine(log, "frame " + std::to_string(frameNumber) + ": code " + std::to_string(code) + ", " +
                     std::to_string(bytes) + " bytes, status " + Hex(served.status) +
                     (code == ScanRequestReadData
                          ? ", " + std::to_string(served.imageData.size()) + " image bytes"
                          : ""));
    return SendAll(s, served.imageData.data(), served.imageData.size(), f.splitBytes) &&
           SendAll(s, served.reply, served.replyBytes, f.splitBytes);
}

// A client that left in the middle of a scan leaves the scanner scanning: stop it, as the
// scanner's own host would, so that the next client finds it ready.
void StopLeftScan(Device& device) {
    if (device.phase != DevicePhase::Scanning) return;
    StopBlock stop{};
    HandleStop(device, stop);
}

}  // namespace

void ServeClient(plat::Socket client, Device& device, const ServerOptions& options,
                 FrameLog& log, const std::atomic<bool>& stop) {
    auto session = std::make_unique<Session>();
    uint8_t code = 0;
    for (uint32_t frameNumber = 1; FirstByte(client, code, stop) == Arrival::Frame; ++frameNumber)
        if (!ServeOneFrame(client, code, frameNumber, device, options, *session, log)) break;
    StopLeftScan(device);
    if (session->reset) plat::SocketAbort(client);
    else plat::SocketClose(client);
}
