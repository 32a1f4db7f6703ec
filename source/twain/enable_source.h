// MSG_ENABLEDS: the scanning window, or with ShowUI FALSE a scan at once.
#pragma once

#include "common/twain.h"

void EnableSource(TW_MEMREF data);
