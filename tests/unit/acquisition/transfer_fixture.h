// An opened source on the simulated scanner, with what the memory and file transfer tests
// share: starting a scan with or without the window, the reference render of the scan that
// was started, and a look at the temporary folder and the live memory.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/twain.h"
#include "settings/scan_settings.h"
#include "simulator/device/reference.h"
#include "tests/unit/twain/open_fixture.h"

class TransferTest : public OpenTest {
public:
    static std::vector<uint32_t> progressMessages;  // message ids the progress window showed

protected:
    void SetUp() override;

    void SetFrame(double left, double top, double right, double bottom);
    // MSG_ENABLEDS without the window: the scan starts at once with the negotiated values.
    TW_UINT16 ScanWithoutWindow(TW_UINT8 pixelTypeIndex, TW_UINT8 resolutionIndex);
    // MSG_ENABLEDS with the window, then the window's Scan with these settings (frame in
    // inches). True when the scan started.
    bool ScanFromWindow(uint16_t mode, uint16_t subMode, uint16_t resolution, double left,
                        double top, double right, double bottom);
    // The same for the settings `choose` makes, negotiated for a transfer mechanism
    // (0 native, 1 file, 2 memory) and file format first.
    bool ScanFromWindowWith(const std::function<void(ScanSettings&)>& choose, TW_UINT8 mechanism,
                            double left, double top, double right, double bottom,
                            TW_UINT16 fileFormat = TWFF_TIFF);

    // The image the scanner's reference says a correct source delivers for this scan, on
    // the model of this optical resolution.
    ReferenceImage Reference(uint16_t opticalResolution = 1200);

    TW_UINT16 EndTransfer();
    // MSG_ENDXFER and MSG_DISABLEDS: back to state 400, ready for the next scan.
    void FinishPage();
    bool CloseRequested() const;  // MSG_CLOSEDSREQ was sent
    std::vector<std::string> TempFiles() const;  // names in the temporary folder
    std::string WorkingPath() const;             // the default file name of this open

    // The level-correction tables live from enabling to closing; nothing else may.
    static constexpr size_t kTablesOnly = 4;
};
