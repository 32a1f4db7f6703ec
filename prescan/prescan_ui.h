// What the prescan shows besides message boxes: the warming-up and not-ready dialogs and the
// hourglass. The Windows library installs its views when it is loaded; the host tests install
// recorders. A hook left empty shows nothing.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PrescanUi {
    // Modeless, over the caller's window: dialog 300 (English) or 311-317 (the other
    // languages), its two lines strings 30 and 31 of the language (index 0-7).
    void (*OpenWarmUpDialog)(plat::WindowHandle owner, int dialogId, uint16_t language) = nullptr;
    void (*CloseWarmUpDialog)() = nullptr;
    // Modeless, no owner: dialog 302 (English) or 304-310, strings 32 and 33 of the language.
    void (*OpenNotReadyDialog)(int dialogId, uint16_t language) = nullptr;
    void (*CloseNotReadyDialog)() = nullptr;
    // The hourglass while the scanner is set up, the arrow again when it scans.
    void (*ShowWaitCursor)(bool wait) = nullptr;
};

extern PrescanUi ThePrescanUi;
