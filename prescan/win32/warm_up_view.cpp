// The warming-up dialog: up from the scanner's set-up until its scan starts, which covers the
// lamp's warm-up and the calibration.
#include "prescan/win32/prescan_views.h"

namespace {

HWND g_dialog = nullptr;
constexpr uint32_t kFirstLine = 30;  // "Warming Up...", then "It may take a few minutes."

}  // namespace

void OpenWarmUpView(void* owner, int dialogId, uint16_t language) {
    if (g_dialog) return;
    g_dialog = OpenTextDialog(static_cast<HWND>(owner), dialogId, language, kFirstLine);
}

void CloseWarmUpView() {
    if (!g_dialog) return;
    DestroyWindow(g_dialog);
    g_dialog = nullptr;
}
