// DS_Entry driven by an application that sends any sequence of triplets, in any state, with
// hostile data blocks, against the simulated scanner (tiny scans only).
//
// Input: one configuration byte (model, transparency unit, feeder), the application's name
// and protocol for the open, then operations of one selector byte each.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/app_calls.h"

namespace {

constexpr const char* kModels[] = {"600", "800", "1200", "606"};
constexpr unsigned kMaxOperations = 48;

SourceHarness& Harness() {
    static SourceHarness harness(KV_SIMULATOR_PORTLIB, {"QASPI_SP.DLL"});
    return harness;
}

void Operation(SourceHarness& h, FuzzInput& in) {
    switch (in.Pick(16)) {
    case 0: case 1: case 2: CapabilityCall(h, in); break;
    case 3: LayoutCall(h, in); break;
    case 4: FileSetupCall(h, in); break;
    case 5: case 6: UserInterfaceCall(h, in); break;
    case 7: MemoryTransfer(h, in); break;
    case 8: NativeTransfer(h); break;
    case 9: FileTransfer(h); break;
    case 10: PendingTransfersCall(h, in); break;
    case 11: GetterCall(h, in); break;
    case 12: RawTriplet(h, in); break;
    case 13: in.Bit() ? h.Close() : OpenAsApplication(h, in); break;
    case 14:
        switch (in.Pick(3)) {
        case 0: EventCall(h, in); break;
        case 1: ForeignCall(h, in); break;
        default: UserAction(in); break;
        }
        break;
    default: WindowScan(h, in); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    SourceHarness& h = Harness();
    const uint8_t config = in.U8();
    h.Begin(SimulatorIni(kModels[config & 3], config & 4, config & 8));
    OpenAsApplication(h, in);
    for (unsigned i = 0; i < kMaxOperations && !in.Empty(); ++i) Operation(h, in);
    h.End();
    return 0;
}
