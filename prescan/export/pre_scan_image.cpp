// The library's one export. Nothing thrown inside may reach the caller's window procedure.
#include "common/prescan_api.h"
#include "prescan/run_prescan.h"

extern "C" PreScanResult KV_WINAPI PreScan_Image(void* owner, void*, uint32_t sourceWord, void*,
                                                 void*, uint16_t language, uint16_t narrowBed,
                                                 uint16_t highResolution, uint32_t, float prescanLength,
                                                 PrescanShadingStore* shadingStore, void*,
                                                 uintptr_t socket) {
    PrescanCall call;
    call.owner = owner;
    call.sourceWord = sourceWord;
    call.language = language;
    call.narrowBed = narrowBed;
    call.highResolution = highResolution != 0;
    call.prescanLength = prescanLength;
    call.store = shadingStore;
    call.socket = socket;
    try {
        return RunPrescan(call);
    } catch (...) {
        return PreScanResult{};
    }
}
