// Serving one connected client: request frames in, image data and replies out, until the
// client leaves, the server is told to stop, or a fault of its own ends the connection.
#pragma once

#include <atomic>

#include "platform/platform.h"
#include "simulator/device/device.h"
#include "simulator/server/frame_log.h"
#include "simulator/server/server_options.h"

// How long the rest of a frame may take once its first byte came; an idle client (a source
// that is open but not scanning) is waited for without limit.
constexpr uint32_t kFrameRestWaitMs = 60000;

// Closes the client's socket when done.
void ServeClient(plat::Socket client, Device& device, const ServerOptions& options,
                 FrameLog& log, const std::atomic<bool>& stop);
