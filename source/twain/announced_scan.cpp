#include "twain/announced_scan.h"

#include "twain/capability_applications.h"
#include "twain/capability_tables.h"
#include "twain/negotiation.h"
#include "twain/notify.h"

ScanJobRequest ApplicationScanRequest(plat::WindowHandle owner, bool windowShown) {
    ScanJobRequest request{};
    request.owner = owner;
    request.windowShown = windowShown;
    request.application = TraitsOfApplication();
    request.transferMechanism = CurrentXferMech();
    request.fileFormat = CurrentFileFormat();
    request.imageInfo = &TheNegotiation.ImageInfoRecord;
    return request;
}

// The image information is filled before the announcement: a manager that calls the
// application back at once may ask for it inside the notification.
bool RunAnnouncedScanJob(const ScanJobRequest& request) {
    if (!RunScanJob(request)) return false;
    if (NotifyXferReady()) return true;
    AbandonUnannouncedScan();
    return false;
}
