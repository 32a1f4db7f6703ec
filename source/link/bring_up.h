// Bringing the scanner up when an application opens the source.
#pragma once

#include <string>

#include "common/profile_text.h"  // LampSaverMinutes
#include "platform/platform.h"

// How long the source waits for a scanner that does not become ready before it gives up.
constexpr uint32_t kReadyWaitLimitMs = 60000;

// Decides between the local scanner and the sharing server, waits until the scanner is
// ready, applies the lamp-saver delay, gives the identification text for the identity's
// Version.Info (left empty when there is none) and checks that the scanner is one of ours.
// Expects the port library bound in TheLink.port. Shows its own messages (owner: the given
// window). True when usable.
bool BringUpScanner(std::string& identification, plat::WindowHandle owner);

// Polls the scanner until it reports ready, with the not-ready dialog up while it is busy.
// False when it did not become ready within the limit (608 has then been shown) or when a
// remote request failed.
bool WaitUntilReady(plat::WindowHandle owner);
