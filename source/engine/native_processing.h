// The passes over a finished native bitmap: descreen, then the chosen filter.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// False when a pass could not run (no memory for its work copy): the image is not what the
// application asked for. Escape is not a failure: the rows done so far are kept.
bool ProcessNativeImage(plat::MemHandle image, uint16_t filterMode, bool descreen, bool showProgress);
