#include "tools/twainscan/event_wait.h"

#include "common/twain.h"

namespace twainscan {
namespace {

std::string Seconds(uint32_t ms) { return std::to_string((ms + 999) / 1000) + " s"; }

}  // namespace

bool WaitForTransferReady(SourceLink& link, MessagePump& pump, uint32_t limitMs,
                          std::string& error) {
    const uint64_t deadline = pump.NowMs() + limitMs;
    for (;;) {
        const uint64_t now = pump.NowMs();
        if (now >= deadline) break;
        const PumpResult next = pump.Next(static_cast<uint32_t>(deadline - now));
        if (next.status == PumpStatus::Timeout) continue;
        if (next.status == PumpStatus::Quit) {
            error = "the message loop ended (WM_QUIT) before the image was ready";
            return false;
        }
        TW_EVENT event{next.message, MSG_NULL};
        const TW_UINT16 rc = CallSource(link, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (rc != TWRC_DSEVENT) {
            pump.Dispatch(next.message);
            continue;
        }
        if (event.TWMessage == MSG_XFERREADY) return true;
        if (event.TWMessage == MSG_CLOSEDSREQ || event.TWMessage == MSG_CLOSEDSOK) {
            error = std::string("the source asked to be closed (") +
                    (event.TWMessage == MSG_CLOSEDSREQ ? "MSG_CLOSEDSREQ" : "MSG_CLOSEDSOK") +
                    ") before an image was ready";
            return false;
        }
    }
    error = "no MSG_XFERREADY within " + Seconds(limitMs);
    return false;
}

}  // namespace twainscan
