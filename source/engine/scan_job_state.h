// The state of the one scan job that can run at a time, and the geometry of its image.
#pragma once

#include <cstdint>

#include "engine/application_traits.h"
#include "engine/resolution_plan.h"
#include "platform/platform.h"

struct ImageGeometry {
    uint32_t bytesPerLine = 0;       // as the scanner delivers a line
    uint16_t lines = 0;
    uint16_t pixelWidth = 0;
    uint32_t alignedLineLength = 0;  // bytes per line rounded up to a multiple of 4
};

struct ScanJobState {
    bool ScanFailed = false;         // the job or its transfer was abandoned: no image comes
    bool DescreenAtLowRes = false;   // a descreen kind other than none is chosen
    // The effective resolution, what the scanner was asked for, and how its lines are
    // enlarged (factor above 1: scanned below the effective resolution) or reduced.
    ResolutionPlan resolution;
    uint16_t reportedResolution = 0;  // the image information's resolution, also in files
    ImageGeometry geometry;
    // Slow-speed waiting before lines (gray and line art at low resolutions, on request).
    bool slowSpeed = false;
    uint32_t slowWaitMs = 0;
    uint16_t slowLineInterval = 0;
    // A feeder without paper is reported only for the first page of a job.
    bool firstPage = true;
    bool forceShading = false;       // the interface asks for a new shading measurement
    uint8_t setupReply[3] = {};      // set-up reply bytes 20-22
    bool windowShown = false;        // the scan was started with the scanning window
    ApplicationTraits application;   // what the application the scan is for takes
    plat::WindowHandle owner = nullptr;  // owner of the job's messages and dialogs
};

extern ScanJobState TheScanJob;
