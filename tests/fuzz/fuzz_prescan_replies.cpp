// The prescan library against a port library that answers every request as the input says
// (hostile_portlib/): bring-up, set-up, shading into the data source's store, the scan and
// the bitmap file. The store's memory is the harness's: the library must write only inside
// the entries it was given, and must leave no memory block behind.
//
// Input: one byte of choices, then the reply bytes the library consumes call by call.
//   byte 0: model (bits 0-1), high density (2), a port library under another name, which gets
//           128 KiB buffer units (3), scan source 0/1/2 (4-5), a 6-inch prescan length (6),
//           the scanner asks for a forced calibration (7)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/host/host_control.h"
#include "prescan/run_prescan.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/hostile_portlib/reply_feed.h"
#include "tests/fuzz/source_harness.h"

namespace {

constexpr const char* kModels[] = {"600", "800", "1200", "606"};
constexpr uint32_t kKeptBytes = 2048;

SourceHarness& Harness() {
    static SourceHarness harness(KV_HOSTILE_PORTLIB, {"QASPI_SP.DLL", "HOSTILE.DLL"});
    return harness;
}

// A store as the data source fills it: identity conversion, kept memory in two entries each,
// guarded by bytes the library must never touch.
struct GuardedStore {
    std::vector<uint16_t> conversion = std::vector<uint16_t>(4096);
    std::vector<uint8_t> high = std::vector<uint8_t>(kKeptBytes + 64, 0xA5);
    std::vector<uint8_t> low = std::vector<uint8_t>(kKeptBytes + 64, 0xA5);
    PrescanShadingStore store{};

    explicit GuardedStore(bool force) {
        for (int i = 0; i < 4096; ++i) conversion[i] = uint16_t(i);
        for (auto& table : store.conversion) table = conversion.data();
        for (int e = 0; e < 2; ++e) {
            store.high[e].size = store.low[e].size = kKeptBytes / 2;
            store.high[e].address = high.data() + e * kKeptBytes / 2;
            store.low[e].address = low.data() + e * kKeptBytes / 2;
        }
        store.forceCalibration = force ? 1 : 0;
    }
    bool GuardsIntact() const {
        for (size_t i = kKeptBytes; i < high.size(); ++i)
            if (high[i] != 0xA5 || low[i] != 0xA5) return false;
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t choice = in.U8();
    const size_t header = size - in.Remaining();
    FeedHostileReplies(data + header, size - header);

    SourceHarness& h = Harness();
    std::string ini = SimulatorIni(kModels[choice & 3], true, false);
    if (choice & 8) ini += "[KVTINFO_A3]\nDRIVER=HOSTILE.DLL\n";
    h.Begin(ini);
    plat::host::SetTickStep(1000);  // the scanner's waits end within the input
    GuardedStore kept(choice & 128);
    PrescanCall call;
    call.highResolution = choice & 4;
    call.sourceWord = uint32_t(((choice >> 4) & 3) % 3) << 16;
    call.prescanLength = (choice & 64) ? 6.0f : 0.0f;
    call.store = &kept.store;
    RunPrescan(call);
    if (!kept.GuardsIntact()) std::abort();
    h.End();
    EndHostileReplies();
    return 0;
}
