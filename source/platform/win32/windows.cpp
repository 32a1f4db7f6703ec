// Windows of other programs, the message pump of long operations, and window timers.
#include "platform/escape_key.h"
#include "platform/win32/win32_api.h"

namespace plat {

bool TopLevelWindowExists(const char* windowClass) {
    return windowClass && ::FindWindowA(windowClass, nullptr) != nullptr;
}

WindowHandle ActiveWindow() { return ::GetActiveWindow(); }

bool PumpMessagesCheckEscape() {
    bool escape = false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The application's own loop must still see it: put it back and stop here.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsEscapeKeyMessage(msg.message, msg.wParam)) escape = true;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return escape;
}

bool StartTimer(WindowHandle window, uintptr_t id, uint32_t ms) {
    return ::SetTimer(static_cast<HWND>(window), id, ms, nullptr) != 0;
}

bool StopTimer(WindowHandle window, uintptr_t id) {
    return ::KillTimer(static_cast<HWND>(window), id) != FALSE;
}

}  // namespace plat
