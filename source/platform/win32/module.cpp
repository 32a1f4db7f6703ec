#include "platform/win32/win32_module.h"

namespace plat::win32 {
namespace {

HINSTANCE gInstance = nullptr;

}  // namespace

void SetModuleInstance(HINSTANCE instance) { gInstance = instance; }

HINSTANCE ModuleInstance() { return gInstance; }

}  // namespace plat::win32
