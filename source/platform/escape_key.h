// Which window messages cancel a long operation: any key message (WM_KEYDOWN 0x100 up to
// 0x108) that carries the Escape key, whether it comes down, goes up, or arrives as a
// character. Shared by both backends' message pumps.
#pragma once

#include <cstdint>

namespace plat {

constexpr uint32_t kFirstKeyMessage = 0x100;
constexpr uint32_t kLastKeyMessage = 0x108;
constexpr uintptr_t kVirtualKeyEscape = 0x1B;

constexpr bool IsEscapeKeyMessage(uint32_t message, uintptr_t wParam) {
    return message >= kFirstKeyMessage && message <= kLastKeyMessage && wParam == kVirtualKeyEscape;
}

}  // namespace plat
