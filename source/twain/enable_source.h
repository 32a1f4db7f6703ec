// MSG_ENABLEDS: the scanning window, or with ShowUI FALSE a scan at once.
#pragma once

#include "twain.h"

void EnableSource(TW_MEMREF data);
