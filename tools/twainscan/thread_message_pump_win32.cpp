#include <windows.h>

#include "tools/twainscan/win32_services.h"

namespace twainscan {
namespace {

class ThreadMessagePump : public MessagePump {
public:
    PumpResult Next(uint32_t waitMs) override {
        if (Take()) return Taken();
        // Wakes for input already in the queue as well as for new input.
        const DWORD woke = MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT,
                                                       MWMO_INPUTAVAILABLE);
        if (woke != WAIT_TIMEOUT && Take()) return Taken();
        // Sent messages are delivered inside PeekMessage and leave nothing to return.
        return {PumpStatus::Timeout, nullptr};
    }

    void Dispatch(void* message) override {
        const MSG* msg = static_cast<const MSG*>(message);
        TranslateMessage(msg);
        DispatchMessageA(msg);
    }

    uint64_t NowMs() override { return GetTickCount64(); }

private:
    bool Take() { return PeekMessageA(&msg_, nullptr, 0, 0, PM_REMOVE) != 0; }

    PumpResult Taken() {
        return {msg_.message == WM_QUIT ? PumpStatus::Quit : PumpStatus::Message, &msg_};
    }

    MSG msg_{};
};

}  // namespace

std::unique_ptr<MessagePump> MakeThreadMessagePump() { return std::make_unique<ThreadMessagePump>(); }

}  // namespace twainscan
