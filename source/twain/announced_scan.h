// A scan job run for the application that opened the source: the request carries what the
// front end knows of that application and of the negotiation, and a started scan is
// announced with MSG_XFERREADY through the source manager.
#pragma once

#include "engine/run_scan_job.h"
#include "platform/platform.h"

// The application's traits, transfer mechanism, file format and image-information record;
// area, speed and source are the caller's to fill in.
ScanJobRequest ApplicationScanRequest(plat::WindowHandle owner, bool windowShown);

// Runs the job and announces the image. A manager that does not take the announcement
// leaves the application unaware of the image: the scan is then abandoned and the call
// fails. False whenever no image is waiting.
bool RunAnnouncedScanJob(const ScanJobRequest& request);
