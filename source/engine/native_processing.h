// The passes over a finished native bitmap: descreen, then the chosen filter.
#pragma once

#include <cstdint>

#include "platform.h"

void ProcessNativeImage(plat::MemHandle image, uint16_t filterMode, bool descreen, bool showProgress);
