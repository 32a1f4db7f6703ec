#include "platform/win32/win32_api.h"

namespace plat {

int MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    return ::MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}

}  // namespace plat
