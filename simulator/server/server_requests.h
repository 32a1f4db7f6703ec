// One request frame performed on the hosted scanner, as a sharing server performs it for its
// client: the block decoded from the frame, the request run on the device (a read into the
// server's own buffer, the remote shading as a calibration of its own), the reply encoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/remote_frames.h"
#include "simulator/device/device.h"

// A read may ask for at most this much image data; more ends the connection (no client of
// ours asks for more than its buffer, a few MiB).
constexpr uint32_t kServerReadLimit = 64u << 20;

// What a client's connection keeps between its frames.
struct ClientSessionState {
    uint8_t forceCalibration = 0;  // the last set-up's 34th byte
};

struct ServedFrame {
    bool followable = true;            // false: the frame cannot be answered (end the connection)
    std::vector<uint8_t> imageData;    // code 8: exactly the bytes the read asked for
    uint8_t reply[kRemoteLargestFrame + 8];  // room for the overlong-reply fault
    size_t replyBytes = 0;
    uint16_t status = 0;               // for the log
};

// `frame` holds a complete request frame (RequestFrameBytes(frame[0]) bytes).
void ServeFrame(Device& device, const uint8_t* frame, ClientSessionState& session, ServedFrame& out);

// The calibration a server makes for code 10: the shading lines of the device's set-up read
// and the coefficients of a correct calibration sent back. False when the device refused a step.
bool CalibrateForClient(Device& device);
