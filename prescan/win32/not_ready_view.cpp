// The not-ready dialog: up while the bring-up waits for a scanner that reports busy.
#include "prescan/win32/prescan_views.h"

namespace {

HWND g_dialog = nullptr;
constexpr uint32_t kFirstLine = 32;  // "The scanner is not ready.", then "Please wait..."

}  // namespace

// No owner: the bring-up runs before anything of the prescan is on the screen, and the
// dialog must stay visible whatever the caller does with its own window meanwhile.
void OpenNotReadyView(int dialogId, uint16_t language) {
    if (g_dialog) return;
    g_dialog = OpenTextDialog(nullptr, dialogId, language, kFirstLine);
}

void CloseNotReadyView() {
    if (!g_dialog) return;
    DestroyWindow(g_dialog);
    g_dialog = nullptr;
}
