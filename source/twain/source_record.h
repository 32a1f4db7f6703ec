// The process-wide state of the data source: one instance, owned by the front end.
#pragma once

#include "common/twain.h"
#include "platform/platform.h"

struct SourceRecord {
    // The five arguments of the current DS_Entry call; handlers read their data from here.
    pTW_IDENTITY CallOrigin = nullptr;
    TW_UINT32 CallGroup = 0;
    TW_UINT16 CallDat = 0;
    TW_UINT16 CallMsg = 0;
    TW_MEMREF CallData = nullptr;

    TW_UINT16 SourceState = 300;  // the TWAIN state times 100

    TW_IDENTITY AppIdentity{};     // the application that has the source open; Id 0 = none
    TW_IDENTITY SourceIdentity{};  // what the source reports about itself

    plat::WindowHandle ScanningWindow = nullptr;
    plat::WindowHandle AppWindow = nullptr;  // hParent of the last MSG_ENABLEDS
    bool LastShowUI = false;                 // ShowUI of the last MSG_ENABLEDS
    void* ScanWindowProcedure = nullptr;
    plat::LibHandle PortLibrary = nullptr;
};

extern SourceRecord TheSource;

// Brings the record back to its state before process attach (for tests and re-attach).
void ResetSourceRecord();
