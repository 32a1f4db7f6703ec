#include "native_processing.h"

void ProcessNativeImage(plat::MemHandle, uint16_t, bool, bool) {}
