#include <windows.h>

#include <thread>

#include "simulator/server/relaynor_window.h"

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

}  // namespace

bool OpenRelaynorWindow(std::string& error) {
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool ok = false;
    std::thread([created, &ok] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Relaynor";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        HWND window = nullptr;
        if (RegisterClassA(&windowClass))
            window = CreateWindowExA(0, "Relaynor", "Relaynor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                     CW_USEDEFAULT, 320, 120, nullptr, nullptr,
                                     windowClass.hInstance, nullptr);
        ok = window != nullptr;
        if (window) ShowWindow(window, SW_SHOWNORMAL);
        SetEvent(created);
        if (!window) return;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }).detach();
    WaitForSingleObject(created, INFINITE);
    CloseHandle(created);
    if (!ok) error = "cannot create the window (error " + std::to_string(GetLastError()) + ")";
    return ok;
}
