// One prescan: what the caller handed over and everything the library keeps while it runs.
// Every call starts from a new session, so nothing of an earlier prescan carries over.
#pragma once

#include <cstdint>

#include "common/port_library.h"
#include "common/prescan_api.h"
#include "common/remote_exchange.h"
#include "common/request_blocks.h"
#include "platform/platform.h"

// The arguments of PreScan_Image that the prescan reads.
struct PrescanCall {
    plat::WindowHandle owner = nullptr;
    uint32_t sourceWord = 0;  // high 16 bits: scan source; low 16: option bits for the speed byte
    uint16_t language = 0;    // 0-7; string base = 50 x language
    uint16_t narrowBed = 0;
    bool highResolution = false;  // 60 dpi instead of 30
    float prescanLength = 0.0f;   // inches
    PrescanShadingStore* store = nullptr;
    uintptr_t socket = 0;  // the data source's connection to the sharing server; 0 = local
};

struct PrescanSession {
    PrescanCall call;
    uint16_t language = 0;  // the caller's, 0 when it names no language of the table
    PortLibrary port;
    bool remote = false;
    RemoteConnection connection;  // lent by the data source, never closed here
    RequestBlockSet blocks{};  // the library's own, with the layouts the data source uses
    uint16_t opticalResolution = 0;
    bool optionInstalled = false;
    bool remoteBroken = false;  // a failed exchange: no further request is sent
};

// A session for the call: its language checked, the connection taken over as lent.
void StartSession(const PrescanCall& call, PrescanSession& session);
