// MSG_XFERREADY and MSG_CLOSEDSREQ go to the source manager that loaded the source, through
// its DSM_Entry. Applications of TWAIN 2 (and every 64-bit one) load the TWAIN Working
// Group's TWAINDSM.dll; classic 32-bit applications load twain_32.dll. A notification sent to
// a manager that did not open the source never reaches the application, which would then
// wait for the image forever, so the manager is the one loaded in this process: TWAINDSM.dll
// when it is there, otherwise twain_32.dll.
#include "platform/win32/win32_api.h"

#if !defined(_WIN64)
// The classic 32-bit target imports DSM_Entry by ordinal 1 from twain_32.dll (the import
// library is made from a .def at build time), as the managers of TWAIN 1.x expect of their
// sources. A 64-bit Windows has no twain_32.dll, so the x86_64 build imports nothing.
extern "C" __declspec(dllimport) TW_UINT16 TW_CALLINGSTYLE DSM_Entry(pTW_IDENTITY origin,
                                                                      pTW_IDENTITY dest,
                                                                      TW_UINT32 dg, TW_UINT16 dat,
                                                                      TW_UINT16 msg,
                                                                      TW_MEMREF data);
#endif

namespace plat {
namespace {

DSMENTRYPROC EntryOf(HMODULE module, LPCSTR name) {
    if (!module) return nullptr;
    return reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Looked up at every notification: the manager may be unloaded and another loaded between
// two sessions of the same application, and both are rare calls.
DSMENTRYPROC LoadedManagerEntry() {
    if (DSMENTRYPROC entry = EntryOf(GetModuleHandleA("TWAINDSM.dll"), "DSM_Entry")) return entry;
#if defined(_WIN64)
    return EntryOf(GetModuleHandleA("twain_32.dll"), MAKEINTRESOURCEA(1));
#else
    return &DSM_Entry;
#endif
}

}  // namespace

TW_UINT16 NotifySourceManager(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat,
                              TW_UINT16 msg, TW_MEMREF data) {
    DSMENTRYPROC entry = LoadedManagerEntry();
    if (!entry) return TWRC_FAILURE;  // no manager in this process: nobody can be told
    return entry(origin, dest, dg, dat, msg, data);
}

}  // namespace plat
