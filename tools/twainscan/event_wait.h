// The application's event loop while the source works: every message of the thread goes to
// the source through DAT_EVENT / MSG_PROCESSEVENT, because that is how the source manager
// hands the application MSG_XFERREADY and MSG_CLOSEDSREQ. The thread's message queue sits
// behind MessagePump so that the loop runs on the host with a fake queue.
#pragma once

#include <cstdint>
#include <string>

#include "tools/twainscan/source_link.h"

namespace twainscan {

enum class PumpStatus { Message, Timeout, Quit };

struct PumpResult {
    PumpStatus status = PumpStatus::Timeout;
    void* message = nullptr;  // the platform's message record; valid until the next call
};

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // The next message of the thread, waiting at most waitMs for one.
    virtual PumpResult Next(uint32_t waitMs) = 0;
    // Translate and dispatch a message the source did not take.
    virtual void Dispatch(void* message) = 0;
    // A monotonic clock in milliseconds.
    virtual uint64_t NowMs() = 0;
};

// Runs the loop until the source signals MSG_XFERREADY (true) or asks to be closed, the
// queue ends, or limitMs pass (false, with error set). Never waits longer than limitMs.
bool WaitForTransferReady(SourceLink& link, MessagePump& pump, uint32_t limitMs,
                          std::string& error);

}  // namespace twainscan
