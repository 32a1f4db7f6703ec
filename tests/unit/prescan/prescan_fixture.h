// A prescan against a fresh copy of the scanner simulator, as the main window calls it: a
// shading store with conversion tables built by the data source's level correction and
// memory for the coefficients it keeps, and the dialogs and cursor recorded.
#pragma once

#include <string>
#include <vector>

#include "common/prescan_api.h"
#include "prescan/prescan_session.h"
#include "simulator/device/reference.h"
#include "tests/unit/acquisition/image_readers.h"
#include "tests/unit/twain/source_fixture.h"

// The simulator's default calibration value of every channel.
constexpr uint16_t kSimulatorCalibration = 30624;

class PrescanTest : public SourceTest {
public:
    static std::vector<std::string> uiEvents;  // "warm-up 300 0", "cursor wait", ...

protected:
    void SetUp() override;
    void TearDown() override;

    void Simulate(const char* key, const std::string& value);
    // The call of the main window: a local scanner, English, the whole A3 bed at 30 dpi.
    PrescanCall Call();
    PreScanResult Prescan(const PrescanCall& call);
    PreScanResult Prescan() { return Prescan(Call()); }

    std::string BitmapPath() const;
    bool BitmapExists() const;
    DecodedImage Bitmap() const;
    // The simulator's render of the whole-bed colour window a correct prescan asks for.
    ReferenceImage Reference(uint16_t resolution, float lengthInches = 17.0f,
                             uint16_t opticalResolution = 1200) const;

    std::vector<std::string> MessageTexts() const;
    std::vector<std::string> MessageCaptions() const;

    std::vector<uint16_t> conversion[3];
    std::vector<uint8_t> keptHigh, keptLow;
    PrescanShadingStore store{};
};

// The rows of a bitmap from `first` on, `count` of them, as the reference lays them out.
std::vector<uint8_t> RowsOf(const DecodedImage& image, uint32_t first, uint32_t count);
