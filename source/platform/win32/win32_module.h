// The module instance of the DLL that contains the seam, recorded at process attach: the
// user interface loads its resources (dialogs, strings, bitmaps) from it.
#pragma once

#include <windows.h>

namespace plat::win32 {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

}  // namespace plat::win32
