// The three exports of the port library. No exception leaves them: a failure inside the
// simulator answers like a scanner that is not there. SimPowerOff is for tests only
// (power_switch.h); the Windows module definition does not list it.
#include <exception>

#include "common/port_library_api.h"
#include "simulator/portlib/buffer_table.h"
#include "simulator/portlib/power_switch.h"
#include "simulator/portlib/request_dispatch.h"
#include "simulator/portlib/simulator_instance.h"

#if defined(_WIN32)
#define KV_EXPORT
#else
#define KV_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

KV_EXPORT uint32_t KV_WINAPI ADDR_CHK() {
    try {
        return TheDevice().config.faults.scannerHandle;
    } catch (...) {
        return 0;
    }
}

KV_EXPORT void KV_WINAPI SPI_CALL(void* block, uint32_t /*handle*/, uint32_t code) {
    try {
        DispatchRequest(TheDevice(), block, code);
    } catch (...) {
        if (block) static_cast<ScannerRequestHeader*>(block)->status = kStatusBusy;
    }
}

KV_EXPORT uint16_t KV_WINAPI BUF_ADDR(void* area, uint32_t bytes, void* table, uint32_t unitBytes) {
    try {
        return DivideBuffer(static_cast<uint8_t*>(area), bytes,
                            static_cast<ScanBufferEntry*>(table), unitBytes);
    } catch (...) {
        return 0;
    }
}

KV_EXPORT void SimPowerOff() { PowerOffDevice(); }

}  // extern "C"

// The exported definitions must convert to the types callers bind them as.
[[maybe_unused]] constexpr AddrChkProc kAddrChkType = &ADDR_CHK;
[[maybe_unused]] constexpr SpiCallProc kSpiCallType = &SPI_CALL;
[[maybe_unused]] constexpr BufAddrProc kBufAddrType = &BUF_ADDR;
[[maybe_unused]] constexpr SimPowerOffProc kSimPowerOffType = &SimPowerOff;
