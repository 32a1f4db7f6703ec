// The geometry of delivered images, checked against the original on the bed instead of the
// source's own arithmetic: a print of a black square and a black circle (a PGM at 600 dpi)
// is scanned at every resolution of the resolution menus up to twice the optical one, with
// the output scalings offered, for the monitor and for the halftone printer with each
// quality factor, on each model, by native, memory and file transfer. Whatever the path
// from the scanner's lines to the image, a picture of E dots per inch must hold:
//  - width and length of the frame's inches x E (the width rule may narrow the right edge
//    by a few scanner pixels, and a scanner pixel is k delivered ones above the optical
//    resolution),
//  - the square as wide as it is high and 0.4 inch x E across, the circle as round,
//  - no band of black along the right or bottom edge (the print is white there),
//  - the same pixels whatever the transfer, and what the image information announced.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/scan_settings.h"
#include "tests/unit/acquisition/delivered_pictures.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "tests/unit/acquisition/window_scan.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"

namespace {

constexpr uint32_t kPrintDpi = 600;
constexpr double kFrame[4] = {0.1, 0.1, 1.35, 0.75};  // left, top, right, bottom
constexpr double kSquare[3] = {0.2, 0.2, 0.4};        // left, top, side
constexpr double kCircle[3] = {0.95, 0.4, 0.2};       // centre x, y, radius

void WritePrint(const std::filesystem::path& path) {
    const uint32_t w = uint32_t(1.6 * kPrintDpi), h = uint32_t(1.0 * kPrintDpi);
    std::vector<uint8_t> px(size_t(w) * h, 255);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const double cx = (x + 0.5) / kPrintDpi, cy = (y + 0.5) / kPrintDpi;
            const bool square = cx >= kSquare[0] && cx < kSquare[0] + kSquare[2] &&
                                cy >= kSquare[1] && cy < kSquare[1] + kSquare[2];
            const bool circle = std::hypot(cx - kCircle[0], cy - kCircle[1]) < kCircle[2];
            if (square || circle) px[size_t(y) * w + x] = 0;
        }
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << w << " " << h << "\n255\n";
    out.write(reinterpret_cast<const char*>(px.data()), std::streamsize(px.size()));
}

struct Box {
    int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;  // inclusive
    int32_t Width() const { return right - left + 1; }
    int32_t Height() const { return bottom - top + 1; }
};

// The dark pixels (any sample below half) with x in [from, to).
Box DarkBox(const Picture& p, uint32_t from, uint32_t to) {
    Box b;
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = from; x < std::min(to, p.width); ++x)
            if (p.At(x, y) < 128) {
                b.left = std::min<int32_t>(b.left, int32_t(x));
                b.right = std::max<int32_t>(b.right, int32_t(x));
                b.top = std::min<int32_t>(b.top, int32_t(y));
                b.bottom = std::max<int32_t>(b.bottom, int32_t(y));
            }
    return b;
}

double BrightShare(const Picture& p, bool column) {
    const uint32_t n = column ? p.height : p.width;
    uint32_t bright = 0;
    for (uint32_t i = 0; i < n; ++i)
        bright += (column ? p.At(p.width - 1, i) : p.At(i, p.height - 1)) >= 128;
    return n ? double(bright) / n : 0;
}

struct Setting {
    uint16_t mode = kModeGray;
    uint16_t resolution = 300;
    uint16_t scaling = 100;
    int32_t destination = kDestinationMonitor;
    uint16_t quality = 10;
    uint32_t Effective() const {
        return destination == kDestinationHalftone ? uint32_t(quality) * scaling * resolution / 1000
                                                   : uint32_t(scaling) * resolution / 100;
    }
    std::string Name() const {
        std::ostringstream s;
        s << "mode " << mode << ", " << resolution << (destination == kDestinationHalftone ? " lpi" : " dpi")
          << " at " << scaling << " %" << (destination == kDestinationHalftone ? ", quality " + std::to_string(quality) : "")
          << " (E " << Effective() << ")";
        return s.str();
    }
};

// Resolution menus, the scalings and quality factors of the main page.
const std::vector<uint16_t>& MenuOf(uint16_t optical) {
    static const std::vector<uint16_t> m600 = {72, 150, 200, 300, 600, 1200};
    static const std::vector<uint16_t> m800 = {72, 100, 200, 300, 400, 600, 800, 1600};
    static const std::vector<uint16_t> m1200 = {72, 100, 200, 300, 400, 600, 800, 1200, 2400};
    return optical == 800 ? m800 : optical == 1200 ? m1200 : m600;
}
constexpr uint16_t kScalings[] = {25, 50, 75, 100, 200, 300, 400, 500, 600};
constexpr uint16_t kRulings[] = {55, 85, 133, 175, 300, 600};
constexpr uint16_t kQualities[] = {10, 15, 20, 25, 30};

// Everything the main page offers: the scaling list never takes the effective resolution
// past 2400 dpi, and the menus go up to twice the optical resolution.
std::vector<Setting> Offered(uint16_t optical) {
    std::vector<Setting> out;
    const uint32_t top = 2u * optical;
    for (uint16_t r : MenuOf(optical))
        for (uint16_t s : kScalings) {
            Setting c;
            c.resolution = r;
            c.scaling = s;
            if (r <= top && c.Effective() <= 2400 && c.Effective() >= 10) out.push_back(c);
        }
    for (uint16_t r : kRulings)
        for (uint16_t q : kQualities) {
            Setting c;
            c.destination = kDestinationHalftone;
            c.resolution = r;
            c.quality = q;
            if (c.Effective() <= 2400 && c.Effective() >= 10) out.push_back(c);
        }
    return out;
}

class GeometryTest : public TransferTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        WritePrint(windowsDir / "print.pgm");
        Simulate("Original", (windowsDir / "print.pgm").string());
        Simulate("OriginalDpi", std::to_string(kPrintDpi));
        Simulate("Model", GetParam());
        optical = uint16_t(std::stoi(GetParam()));
        ASSERT_EQ(Open(), TWRC_SUCCESS);
    }

    bool Scan(const Setting& c, TW_UINT8 mechanism) {
        return ScanFromWindowWith(
            [&](ScanSettings& s) {
                s.ScanMode = c.mode;
                s.ScanRes = c.resolution;
                s.Scaling = c.scaling;
                s.Destination = c.destination;
                s.QualityFactor = c.quality;
            },
            mechanism, kFrame[0], kFrame[1], kFrame[2], kFrame[3]);
    }

    // One transfer of a fresh scan; the picture is checked against what was announced.
    Picture Take(const Setting& c, TW_UINT8 mechanism) {
        if (!Scan(c, mechanism)) return Picture{0, 0, 1, {}, "the scan did not start"};
        const TW_IMAGEINFO info = TheNegotiation.ImageInfoRecord;
        Picture p = mechanism == 0   ? NativePicture(app)
                    : mechanism == 2 ? MemoryPicture(app, 150000)
                                     : FilePicture(app, (windowsDir / "out.tif").string());
        EXPECT_EQ(int32_t(p.width), info.ImageWidth) << "mechanism " << int(mechanism);
        EXPECT_EQ(int32_t(p.height), info.ImageLength) << "mechanism " << int(mechanism);
        FinishPage();
        return p;
    }

    void CheckPicture(const Setting& c, const Picture& p) {
        const double e = c.Effective();
        const double k = std::ceil(e / optical) > 1 ? 2 * std::ceil(std::ceil(e / optical) / 2) : 1;
        const double width = (kFrame[2] - kFrame[0]) * e, length = (kFrame[3] - kFrame[1]) * e;
        const double cut = (c.mode == kModeLineArt ? 64 : 8) * k;
        EXPECT_GE(p.width, width - cut - 2);
        EXPECT_LE(p.width, width + 2 * k + 1);
        EXPECT_GE(p.height, length - k - 1);
        EXPECT_LE(p.height, length + 2 * k + 1);
        EXPECT_GE(BrightShare(p, true), 0.9) << "a dark band along the right edge";
        EXPECT_GE(BrightShare(p, false), 0.9) << "a dark band along the bottom edge";

        const uint32_t split = uint32_t((0.7 - kFrame[0]) * e);
        const Box square = DarkBox(p, 0, split), circle = DarkBox(p, split, p.width);
        const double side = kSquare[2] * e, slack = std::max(2.0, 0.01 * side) + (k > 1 ? k : 0);
        EXPECT_NEAR(square.Width(), side, slack + 1) << "square across";
        EXPECT_NEAR(square.Height(), side, slack + 1) << "square down";
        EXPECT_NEAR(square.Width(), square.Height(), slack) << "the square is not square";
        EXPECT_NEAR(circle.Width(), circle.Height(), slack) << "the circle is not round";
        EXPECT_NEAR(square.left, (kSquare[0] - kFrame[0]) * e, k + 2) << "square's left edge";
        EXPECT_NEAR(square.top, (kSquare[1] - kFrame[1]) * e, k + 2) << "square's top edge";
    }

    void CheckEveryTransfer(const Setting& c) {
        SCOPED_TRACE(c.Name());
        const Picture native = Take(c, 0), memory = Take(c, 2), file = Take(c, 1);
        ASSERT_EQ(native.error, "");
        ASSERT_EQ(memory.error, "");
        ASSERT_EQ(file.error, "");
        CheckPicture(c, native);
        EXPECT_TRUE(native == memory) << "native and memory transfers differ";
        EXPECT_TRUE(native == file) << "native and file transfers differ";
    }

    uint16_t optical = 1200;
};

TEST_P(GeometryTest, GrayAtEveryOfferedResolution) {
    for (const Setting& c : Offered(optical)) CheckEveryTransfer(c);
}

// Colour and line art at the resolutions where the paths differ: at the optical resolution,
// just above it, at twice it, and odd effective resolutions that are thinned.
TEST_P(GeometryTest, ColourAndLineArtAroundTheOpticalResolution) {
    for (uint16_t mode : {kModeColor, kModeLineArt}) {
        std::vector<Setting> settings;
        for (uint32_t r : {300u, uint32_t(MenuOf(optical).back())}) {
            Setting c;
            c.mode = mode;
            c.resolution = uint16_t(r);
            settings.push_back(c);
        }
        Setting odd;  // 175 lpi x 3.0 x 300 % = 1575 dpi
        odd.mode = mode;
        odd.destination = kDestinationHalftone;
        odd.resolution = 175;
        odd.quality = 30;
        odd.scaling = 300;
        settings.push_back(odd);
        Setting justAbove;
        justAbove.mode = mode;
        justAbove.resolution = uint16_t(optical + 1);
        settings.push_back(justAbove);
        for (const Setting& c : settings) CheckEveryTransfer(c);
    }
}

INSTANTIATE_TEST_SUITE_P(Models, GeometryTest, ::testing::Values("600", "606", "800", "1200"));

}  // namespace
