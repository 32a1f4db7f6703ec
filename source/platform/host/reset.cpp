#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"

namespace plat::host {

void Reset() {
    internal::ResetDirectories();
    internal::ResetMemory();
    internal::ResetFiles();
    internal::ResetTempNames();
    internal::ResetTime();
    internal::ResetMessageBoxes();
    internal::ResetWindows();
    internal::ResetSourceManager();
    internal::ResetProfileCache();
}

}  // namespace plat::host
