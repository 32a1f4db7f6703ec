// Loads the data source without any source manager in the process and drives it through
// DS_Entry directly: open, a scan without the window, close. The source cannot announce the
// image to anybody, so the enabling call must fail as the scan job's failure (TWRC_FAILURE,
// TWCC_OPERATIONERROR, the source still open) instead of crashing or reporting an image
// that no application will ever hear of.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/twain.h"

namespace {

using DsEntryProc = TW_UINT16(TW_CALLINGSTYLE*)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16,
                                                TW_MEMREF);

int Fail(const char* what) {
    std::printf("NO_MANAGER FAILED: %s\n", what);
    std::fflush(stdout);
    return 1;
}

TW_IDENTITY Identity(TW_UINT32 id, const char* name) {
    TW_IDENTITY identity{};
    identity.Id = id;
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 5;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strncpy(identity.ProductName, name, sizeof identity.ProductName - 1);
    return identity;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: no_manager SOURCE.ds");
    if (GetModuleHandleA("twain_32.dll") || GetModuleHandleA("TWAINDSM.dll"))
        return Fail("a source manager is loaded");
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) return Fail("cannot load the source");
    auto entry = reinterpret_cast<DsEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
    if (!entry) return Fail("the source exports no DS_Entry");
#if defined(_WIN64)
    // A 64-bit Windows has no twain_32.dll: the source must not depend on one.
    if (GetModuleHandleA("twain_32.dll")) return Fail("loading the source loaded twain_32.dll");
#endif

    TW_IDENTITY app = Identity(1, "no_manager");
    TW_IDENTITY source = Identity(2, "");
    if (entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source) != TWRC_SUCCESS)
        return Fail("MSG_OPENDS");
    TW_USERINTERFACE ui{FALSE, 0, nullptr};
    const TW_UINT16 rc = entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    TW_STATUS status{};
    entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    std::printf("MSG_ENABLEDS: rc %u, condition %u\n", rc, status.ConditionCode);
    if (rc != TWRC_FAILURE || status.ConditionCode != TWCC_OPERATIONERROR)
        return Fail("the scan was not refused as unannounced");
    // Still open (state 4): a second enable is legal and fails the same way, and closing works.
    if (entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_FAILURE)
        return Fail("the second MSG_ENABLEDS");
    if (entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source) != TWRC_SUCCESS)
        return Fail("MSG_CLOSEDS");
    FreeLibrary(module);
    std::printf("NO_MANAGER OK\n");
    std::fflush(stdout);
    return 0;
}
