// The source against a port library that answers every request as the input says
// (hostile_portlib/): open, a scan without the window of a small frame, and the transfer
// the input picks, then a second page and the close.
//
// Input: two bytes of choices, then the reply bytes the library consumes call by call.
//   byte 0: model (bits 0-1), transparency unit (2), feeder (3), a port library under
//           another name, which gets 128 KiB buffer units (4), pixel type (5-6)
//   byte 1: transfer (bits 0-1: memory, native, TIFF file, BMP file), a second page (2),
//           memory buffer size (3-4), resolution index (5-7)
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/fuzz/app_calls.h"
#include "tests/fuzz/hostile_portlib/reply_feed.h"
#include "twain/negotiation.h"

namespace {

constexpr const char* kModels[] = {"600", "800", "1200", "606"};
constexpr uint32_t kMemoryBuffers[] = {4096, 65536, 300, 1u << 20};

SourceHarness& Harness() {
    static SourceHarness harness(KV_HOSTILE_PORTLIB, {"QASPI_SP.DLL", "HOSTILE.DLL"});
    return harness;
}

void TransferPage(SourceHarness& h, uint8_t how) {
    switch (how & 3) {
    case 0: {
        std::vector<uint8_t> buffer(kMemoryBuffers[(how >> 3) & 3]);
        TW_IMAGEMEMXFER mem{};
        for (int i = 0; i < 2000; ++i) {
            mem.Memory = {TWMF_APPOWNS | TWMF_POINTER, uint32_t(buffer.size()), buffer.data()};
            if (h.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &mem) != TWRC_SUCCESS) break;
        }
        break;
    }
    case 1: NativeTransfer(h); break;
    default: FileTransfer(h); break;
    }
    TW_PENDINGXFERS pending{};
    h.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
}

// The set-up names the file and takes only TIFF; BMP is chosen with the file format
// capability afterwards.
void SetFileTransfer(SourceHarness& h, bool bmp) {
    SetOneValue(h, ICAP_XFERMECH, TWSX_FILE);
    TW_SETUPFILEXFER setup{};
    const std::string name = h.FilesDir() + (bmp ? "\\page.bmp" : "\\page.tif");
    std::strncpy(setup.FileName, name.c_str(), sizeof setup.FileName - 1);
    setup.Format = TWFF_TIFF;
    h.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
    if (bmp) SetOneValue(h, ICAP_IMAGEFILEFORMAT, TWFF_BMP);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t scanner = in.U8();
    const uint8_t transfer = in.U8();
    const size_t header = size - in.Remaining();
    FeedHostileReplies(data + header, size - header);

    SourceHarness& h = Harness();
    std::string ini = SimulatorIni(kModels[scanner & 3], scanner & 4, scanner & 8);
    if (scanner & 16) ini += "[KVTINFO_A3]\nDRIVER=HOSTILE.DLL\n";
    h.Begin(ini);
    if (h.Open() == TWRC_SUCCESS) {
        if ((transfer & 3) >= 2) SetFileTransfer(h, (transfer & 3) == 3);
        TW_IMAGELAYOUT layout{};
        layout.Frame = {{0, 0}, {0, 0}, {1, 0}, {1, 0}};  // one inch square
        h.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
        TheNegotiation.PixelTypeIndex = (scanner >> 5) % 3;
        TheNegotiation.ResolutionIndex = (transfer >> 5) % 4;  // 75 to 200 dpi
        TW_USERINTERFACE ui{0, 0, nullptr};
        if (h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) == TWRC_SUCCESS) {
            TransferPage(h, transfer);
            if (transfer & 4) {
                h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
                if (h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) == TWRC_SUCCESS)
                    TransferPage(h, transfer);
            }
        }
    }
    h.End();
    EndHostileReplies();
    return 0;
}
