#include "tests/unit/fault_matrix/matrix_fixture.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/scan_job_flags.h"
#include "platform/host/host_control.h"
#include "session/call_codes.h"
#include "tests/unit/acquisition/image_readers.h"
#include "tests/unit/fault_matrix/watchdog.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

constexpr const char* kErrorCaption = "SCANNERA3 Flatbed Scanner";
constexpr const char* kCheckList =
    " Please make sure : 1. The scanner is turned on and power LED is green. 2. The cables "
    "are connected. 3. That you turned on the scanner before you turned on the computer.";

// The English texts of the messages a scan or a transfer can show.
const std::map<std::string, uint32_t>& ErrorTexts() {
    static const std::map<std::string, uint32_t> texts = {
        {" Insufficient Memory.", 604},
        {"Read File Failure.", 618},
        {"Write disk file error.", 619},
        {" Paper Jammed in Automatic Document Feeder", 620},
        {" No Paper in Automatic Document Feeder", 621},
        {" Slide Scanner Cover not Closed!", 622},
        {"Incorrect scan area settings.", 625},
        {"Shading correction fail.", 627},
        {"Transferring is failure.", 628},
        {"Scanner is not operating normally! Please restart the scanner.", 629},
        {"There is no remote scanner!", 836},
    };
    return texts;
}

TW_UINT16 ConditionCode(TW_IDENTITY& app) {
    TW_STATUS status{};
    DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}

bool Spooled(Mech mech) { return mech == Mech::MemorySpooled || mech == Mech::FileSpooled; }
bool ToFile(Mech mech) {
    return mech == Mech::FileTiff || mech == Mech::FileBmp || mech == Mech::FileSpooled;
}

// Bottom-up bitmap rows (colour blue, green, red) as the scanner's top-down lines.
std::vector<uint8_t> NativeRows(TW_UINTPTR handle) {
    auto h = reinterpret_cast<plat::MemHandle>(handle);
    const auto* p = static_cast<const uint8_t*>(plat::MemLock(h));
    int32_t width, height;
    uint16_t bits;
    uint32_t palette;
    std::memcpy(&width, p + 4, 4);
    std::memcpy(&height, p + 8, 4);
    std::memcpy(&bits, p + 14, 2);
    std::memcpy(&palette, p + 32, 4);
    const uint32_t stride = ((uint32_t(width) * bits + 31) & ~31u) / 8;
    const uint32_t lineBytes = (uint32_t(width) * bits + 7) / 8;
    std::vector<uint8_t> rows;
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* row = p + 40 + 4 * palette + size_t(y) * stride;
        for (uint32_t i = 0; i < lineBytes; ++i)
            rows.push_back(bits == 24 ? row[i - i % 3 + 2 - i % 3] : row[i]);
    }
    plat::MemUnlock(h);
    plat::MemFree(h);
    return rows;
}

// The first copy of the simulator loaded in a process owns the C++ library's unique symbols
// and can never be unloaded; every later copy can. Loading the build's own copy first, and
// keeping it, lets a closed source's copy go, so that the next open powers on a new scanner.
void PinUniqueSymbols() {
    static void* const pinned = ::dlopen(KV_SIMULATOR_PORTLIB, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(pinned, nullptr) << ::dlerror();
}

}  // namespace

const char* MechName(Mech mech) {
    switch (mech) {
        case Mech::Native: return "native";
        case Mech::Memory: return "memory";
        case Mech::MemorySpooled: return "memory+spool";
        case Mech::FileTiff: return "file TIFF";
        case Mech::FileBmp: return "file BMP";
        case Mech::FileSpooled: return "file BMP+spool";
    }
    return "?";
}

uint32_t MessageIdOf(const std::string& caption, const std::string& text) {
    if (text == kCheckList && caption == "SCANNERFlatbed Scanner not ready.") return 608;
    if (text == kCheckList && caption == "SCANNERFlatbed Scanner not found.") return 609;
    if (caption == "SCANNER A3 Flatbed Scanner" && text.rfind("The new image requires ", 0) == 0)
        return 605;
    const auto it = ErrorTexts().find(text);
    return it != ErrorTexts().end() && caption == kErrorCaption ? it->second : 0;
}

void MatrixTest::SetUp() {
    PinUniqueSymbols();
    TransferTest::SetUp();
    std::filesystem::create_directories(windowsDir / "out");
}

void MatrixTest::TearDown() {
    plat::host::FailAllocationAt(0);
    plat::host::FailWriteAt(0);
    TransferTest::TearDown();
}

void MatrixTest::SimulateAll(const std::map<std::string, std::string>& keys) {
    for (const auto& [key, value] : keys) Simulate(key.c_str(), value);
}

void MatrixTest::ClearSimulator() {
    ASSERT_TRUE(plat::WriteProfileString(kSimulatorSection, nullptr, nullptr));
}

std::string MatrixTest::OutputPath() const { return (windowsDir / "out" / "page.img").string(); }

size_t MatrixTest::CloseRequests() const {
    size_t n = 0;
    for (const auto& note : plat::host::Notifications()) n += note.msg == MSG_CLOSEDSREQ;
    return n;
}

void MatrixTest::Capture(const std::string& call, TW_UINT16 rc, uint32_t startTicks, Outcome& out) {
    out.call = call;
    out.rc = rc;
    out.virtualMs = plat::TickCount() - startTicks;
    out.state = TheSource.SourceState;
    out.cc = out.state >= 400 ? ConditionCode(app) : TheCall.SourceConditionCode;
    for (const auto& box : plat::host::MessageBoxes()) {
        out.messages.push_back(MessageIdOf(box.caption, box.text));
        out.texts.push_back(box.caption + "|" + box.text);
    }
    out.closeRequest = CloseRequests() > closeRequestsBefore;
    out.tempFiles = TempFiles();
}

bool MatrixTest::OpenAndScan(Mech mech, Frame frame, Outcome& out) {
    const uint32_t start = plat::TickCount();
    Watchdog dog("MSG_OPENDS");
    const TW_UINT16 rc = Open();
    if (rc != TWRC_SUCCESS) {
        Capture("open", rc, start, out);
        out.leakedBlocks = long(plat::host::LiveBlocks());
        return false;
    }
    return Scan(mech, frame, out);
}

bool MatrixTest::Scan(Mech mech, Frame frame, Outcome& out) {
    plat::host::ClearMessageBoxes();
    closeRequestsBefore = CloseRequests();
    if (frame == Frame::Small) SetFrame(1.0, 1.0, 2.0, 1.6);
    else SetFrame(1.0, 1.0, 11.0, 2.0);
    TheNegotiation.XferMechIndex = mech == Mech::Native ? 0 : ToFile(mech) ? 1 : 2;
    if (ToFile(mech)) {
        // The set-up takes TIFF only; the negotiated format decides what is written.
        TW_SETUPFILEXFER setup{};
        std::strncpy(setup.FileName, OutputPath().c_str(), sizeof setup.FileName - 1);
        setup.Format = TWFF_TIFF;
        if (DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup) != TWRC_SUCCESS)
            ADD_FAILURE() << "file set-up refused";
    }
    TheNegotiation.FileFormatIndex = mech == Mech::FileTiff ? 0 : 2;
    const uint32_t start = plat::TickCount();
    TW_UINT16 rc;
    {
        Watchdog dog("MSG_ENABLEDS");
        // Colour at 100 dpi, or at 300 dpi for the two-band frame.
        rc = ScanWithoutWindow(2, frame == Frame::Small ? 1 : 4);
    }
    if (TheSource.SourceState != 600) {
        Capture("enable", rc, start, out);
        out.leakedBlocks = long(plat::host::LiveBlocks()) - long(kTablesOnly);
        return false;
    }
    // A post-processing pass that changes nothing still goes through the spool.
    if (Spooled(mech)) TheScanJobFlags.PostProcessing = true;
    return true;
}

namespace {

// What the user already had under the output's name: a failed transfer must leave it alone.
constexpr char kEarlierFile[] = "an image the user kept under this name";

bool HoldsEarlierFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return text == kEarlierFile;
}

}  // namespace

void MatrixTest::Transfer(Mech mech, Outcome& out) {
    if (ToFile(mech)) std::ofstream(OutputPath(), std::ios::binary) << kEarlierFile;
    const uint32_t start = plat::TickCount();
    TW_UINT16 rc;
    std::vector<uint8_t> image;
    TW_UINTPTR handle = 0;
    Watchdog dog("the transfer");
    if (mech == Mech::Native) {
        rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    } else if (ToFile(mech)) {
        rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    } else {
        std::vector<uint8_t> buffer(65536);
        rc = TWRC_SUCCESS;
        for (int call = 0; rc == TWRC_SUCCESS && call < 100000; ++call) {
            TW_IMAGEMEMXFER xfer{};
            xfer.Memory = {TWMF_APPOWNS | TWMF_POINTER, uint32_t(buffer.size()), buffer.data()};
            rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
            if (rc == TWRC_SUCCESS || rc == TWRC_XFERDONE)
                image.insert(image.end(), buffer.begin(), buffer.begin() + xfer.BytesWritten);
        }
    }
    Capture("transfer", rc, start, out);
    // The image is the application's only when the transfer was done.
    if (rc == TWRC_XFERDONE) out.imageExact = ImageIsReference(mech, image, handle);
    else if (handle != 0) ADD_FAILURE() << "a bitmap was handed over with " << rc;
    out.earlierFileLost = ToFile(mech) && rc != TWRC_XFERDONE && !HoldsEarlierFile(OutputPath());
    out.leakedBlocks = long(plat::host::LiveBlocks()) - long(kTablesOnly);
}

bool MatrixTest::ImageIsReference(Mech mech, const std::vector<uint8_t>& image,
                                  TW_UINTPTR nativeHandle) {
    const ReferenceImage ref = Reference();
    if (mech == Mech::Native) return nativeHandle != 0 && NativeRows(nativeHandle) == ref.data;
    if (!ToFile(mech)) return image == ref.data;
    // Post-processing writes TIFF whatever format was negotiated.
    const DecodedImage file =
        mech == Mech::FileBmp ? ReadBmp(OutputPath()) : ReadTiff(OutputPath());
    return file.error.empty() && file.rows == ref.data;
}

void MatrixTest::EndAsApplication(const Outcome& out) {
    if (out.state == 700 || out.state == 600) {
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        EXPECT_EQ(TheSource.SourceState, 500);
    }
    if (TheSource.SourceState == 500) {
        TW_USERINTERFACE ui{0, 0, nullptr};
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    }
    EXPECT_EQ(TheSource.SourceState, 400);
}

void MatrixTest::ExpectCleanScan(Mech mech) {
    Outcome clean;
    ASSERT_TRUE(Scan(mech, Frame::Small, clean)) << clean.call << " " << clean.rc;
    Transfer(mech, clean);
    EXPECT_EQ(clean.rc, TWRC_XFERDONE);
    EXPECT_TRUE(clean.imageExact);
    EXPECT_TRUE(clean.texts.empty()) << clean.texts[0];
    EXPECT_FALSE(clean.closeRequest);
    EXPECT_TRUE(clean.tempFiles.empty());
    EXPECT_EQ(clean.leakedBlocks, 0);
    EndAsApplication(clean);
}
