// Notifications to the source manager are recorded and answered with the chosen return code.
#include <mutex>
#include <vector>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

std::mutex gMutex;
std::vector<host::Notification> gNotifications;
TW_UINT16 gResult = TWRC_SUCCESS;

}  // namespace

TW_UINT16 NotifySourceManager(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat,
                              TW_UINT16 msg, TW_MEMREF data) {
    std::lock_guard lock(gMutex);
    gNotifications.push_back(
        {origin ? origin->Id : 0u, dest ? dest->Id : 0u, dg, dat, msg, data});
    return gResult;
}

namespace host {

std::vector<Notification> Notifications() {
    std::lock_guard lock(gMutex);
    return gNotifications;
}

void SetSourceManagerResult(TW_UINT16 rc) {
    std::lock_guard lock(gMutex);
    gResult = rc;
}

namespace internal {

void ResetSourceManager() {
    std::lock_guard lock(gMutex);
    gNotifications.clear();
    gResult = TWRC_SUCCESS;
}

}  // namespace internal
}  // namespace host
}  // namespace plat
