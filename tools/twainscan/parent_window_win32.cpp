#include <windows.h>

#include "tools/twainscan/parent_window.h"

namespace twainscan {
namespace {

constexpr const char* kClassName = "TwainscanParent";

bool RegisterParentClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void* CreateParentWindow(std::string& error) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterParentClass(instance)) {
        error = "cannot register the parent window class (error " +
                std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    HWND window = CreateWindowExA(0, kClassName, "twainscan", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!window) {
        error = "cannot create the parent window (error " + std::to_string(GetLastError()) +
                "); is DISPLAY set?";
        return nullptr;
    }
    return window;
}

void DestroyParentWindow(void* window) {
    if (window) DestroyWindow(static_cast<HWND>(window));
}

}  // namespace twainscan
