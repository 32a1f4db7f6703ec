// The source manager's entry, imported from twain_32.dll by ordinal 1 (the import library is
// made from a .def at build time): managers export it reliably under that ordinal.
#include "win32_api.h"

extern "C" __declspec(dllimport) TW_UINT16 TW_CALLINGSTYLE DSM_Entry(pTW_IDENTITY origin,
                                                                      pTW_IDENTITY dest,
                                                                      TW_UINT32 dg, TW_UINT16 dat,
                                                                      TW_UINT16 msg,
                                                                      TW_MEMREF data);

namespace plat {

TW_UINT16 NotifySourceManager(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat,
                              TW_UINT16 msg, TW_MEMREF data) {
    return DSM_Entry(origin, dest, dg, dat, msg, data);
}

}  // namespace plat
