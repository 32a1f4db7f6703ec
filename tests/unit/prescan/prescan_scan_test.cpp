// Whole prescans against the scanner simulator: the file equals the simulator's reference
// render, the dialogs come and go, and every fault ends in its message, the zero result and
// no file left behind (unless rows were written).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/host/host_control.h"
#include "engine/level_correction.h"
#include "window/prescan_binding.h"
#include "window/prescan_store.h"
#include "tests/unit/prescan/prescan_fixture.h"

namespace {

bool IsZero(const PreScanResult& r) {
    return r.pixels == 0 && r.lines == 0 && r.rowBytes == 0 && r.resolution == 0 &&
           r.linesRead == 0 && r.fileWritten == 0;
}

}  // namespace

TEST_F(PrescanTest, WholeBedEqualsTheReferenceAndKeepsTheGreenCoefficients) {
    const PreScanResult r = Prescan();
    EXPECT_EQ(r.pixels, 351u);
    EXPECT_EQ(r.lines, 510u);
    EXPECT_EQ(r.rowBytes, 1056u);
    EXPECT_EQ(r.resolution, 30u);
    EXPECT_EQ(r.linesRead, 510u);
    EXPECT_EQ(r.fileWritten, 1u);
    EXPECT_TRUE(MessageTexts().empty());
    const DecodedImage bmp = Bitmap();
    ASSERT_TRUE(bmp.error.empty()) << bmp.error;
    EXPECT_EQ(bmp.bitsPerSample * bmp.samplesPerPixel, 24u);
    const ReferenceImage ref = Reference(30);
    ASSERT_EQ(ref.lines, 510u);
    EXPECT_EQ(bmp.rows, ref.data);  // shading right, colours in order, rows the right way up
    EXPECT_EQ(std::filesystem::file_size(BitmapPath()), 510u * 1056 + 54);
    // The green plane of the calibration, for the data source; the force flag served.
    EXPECT_EQ(store.keptSamples, 351);
    EXPECT_TRUE(std::any_of(keptHigh.begin(), keptHigh.begin() + 351, [](uint8_t b) { return b; }));
    EXPECT_EQ(store.forceCalibration, 0);
    EXPECT_EQ(uiEvents, (std::vector<std::string>{"cursor wait", "warm-up 300 0", "warm-up closed",
                                                   "cursor arrow"}));
}

TEST_F(PrescanTest, HighDensityOnTheSixHundredModelSpeltTheLibrarysWay) {
    Simulate("Model", "600");
    Simulate("ResolutionDigits", "prescan");
    PrescanCall call = Call();
    call.highResolution = true;
    call.language = 3;
    const PreScanResult r = Prescan(call);
    EXPECT_EQ(r.pixels, 702u);
    EXPECT_EQ(r.lines, 1020u);
    EXPECT_EQ(Bitmap().rows, Reference(60, 17.0f, 600).data);
    EXPECT_EQ(uiEvents[1], "warm-up 313 3");
}

TEST_F(PrescanTest, ShortPrescanLengthKeepsTheBedHeightWithZeroRows) {
    PrescanCall call = Call();
    call.prescanLength = 6.0f;
    const PreScanResult r = Prescan(call);
    EXPECT_EQ(r.lines, 510u);
    EXPECT_EQ(r.linesRead, 180u);
    const DecodedImage bmp = Bitmap();
    ASSERT_EQ(bmp.height, 510u);
    EXPECT_EQ(RowsOf(bmp, 0, 180), Reference(30, 6.0f).data);
    const std::vector<uint8_t> rest = RowsOf(bmp, 180, 330);
    EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(PrescanTest, EscapeAfterTheSecondBandWritesTheRowsRead) {
    PrescanCall call = Call();
    call.highResolution = true;  // 2106-byte lines: bands of 124 lines
    // One pump in the wait for the scanner, then one before every band: Escape before the third.
    const unsigned before = plat::host::PumpCount();
    plat::host::SetPumpHook([before] { return plat::host::PumpCount() - before == 4; });
    const PreScanResult r = Prescan(call);
    plat::host::SetPumpHook(nullptr);
    EXPECT_EQ(r.fileWritten, 1u);
    ASSERT_EQ(r.linesRead, 248u);
    const DecodedImage bmp = Bitmap();
    ASSERT_EQ(bmp.height, 1020u);
    const ReferenceImage ref = Reference(60);
    EXPECT_EQ(RowsOf(bmp, 0, r.linesRead),
              std::vector<uint8_t>(ref.data.begin(), ref.data.begin() + size_t(r.linesRead) * ref.bytesPerLine));
    const std::vector<uint8_t> rest = RowsOf(bmp, r.linesRead, 1020 - r.linesRead);
    EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(PrescanTest, EscapeKeepsTheRowsWhenTheStoppedScannerComplains) {
    Simulate("StopStatus", "0x8001");
    PrescanCall call = Call();
    call.highResolution = true;
    const unsigned before = plat::host::PumpCount();
    plat::host::SetPumpHook([before] { return plat::host::PumpCount() - before == 4; });
    const PreScanResult r = Prescan(call);
    plat::host::SetPumpHook(nullptr);
    EXPECT_EQ(r.fileWritten, 0u);  // the scanner's complaint makes it a failure...
    ASSERT_TRUE(BitmapExists());   // ...but the rows the user waited for are there
    const DecodedImage bmp = Bitmap();
    const ReferenceImage ref = Reference(60);
    EXPECT_EQ(RowsOf(bmp, 0, 248),
              std::vector<uint8_t>(ref.data.begin(), ref.data.begin() + 248 * ref.bytesPerLine));
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0].rfind(" Please make sure :", 0), 0u);
}

TEST_F(PrescanTest, TheMainWindowsBindingLoadsCallsAndFreesTheLibrary) {
    PrescanArguments args;
    args.store = &store;
    PreScanResult r{};
    // Not installed: told to the caller, which sets the condition code without a message.
    EXPECT_EQ(CallPrescanLibrary(windowsDir.string(), args, r), PrescanCallOutcome::LibraryMissing);
    EXPECT_FALSE(BitmapExists());
    std::filesystem::copy_file(KV_PRESCAN_LIBRARY, windowsDir / "TWAIN_32" / "KVTC_A3" / "PRESCAN.DLL");
    ASSERT_EQ(CallPrescanLibrary(windowsDir.string(), args, r), PrescanCallOutcome::Called);
    EXPECT_EQ(r.lines, 510u);
    EXPECT_EQ(Bitmap().rows, Reference(30).data);
    EXPECT_TRUE(MessageTexts().empty());
}

struct PrescanFault {
    const char* key;
    const char* value;
    const char* text;     // the message box's text, "" for none
    bool fileLeft;        // rows were written before the failure
};

class PrescanFaultTest : public PrescanTest, public ::testing::WithParamInterface<PrescanFault> {};

TEST_P(PrescanFaultTest, EndsInItsMessageAndTheZeroResult) {
    const PrescanFault& f = GetParam();
    Simulate(f.key, f.value);
    plat::host::SetTickStep(50);  // a scanner that never gets ready is given up in time
    const PreScanResult r = Prescan();
    EXPECT_TRUE(IsZero(r));
    const std::vector<std::string> texts = MessageTexts();
    if (*f.text) {
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rfind(f.text, 0), 0u) << texts[0];
    } else {
        EXPECT_TRUE(texts.empty());
    }
    EXPECT_EQ(BitmapExists(), f.fileLeft);
    // The dialogs never outlive the prescan.
    EXPECT_EQ(std::count(uiEvents.begin(), uiEvents.end(), "warm-up closed"),
              std::count_if(uiEvents.begin(), uiEvents.end(),
                            [](const std::string& e) { return e.rfind("warm-up 3", 0) == 0; }));
}

const char* const kCheckList = " Please make sure :";

INSTANTIATE_TEST_SUITE_P(
    Simulator, PrescanFaultTest,
    ::testing::Values(PrescanFault{"Handle", "0", kCheckList, false},
                      PrescanFault{"InquiryStatus", "255", kCheckList, false},
                      PrescanFault{"InquiryStatus", "7", kCheckList, false},
                      PrescanFault{"NeverReady", "1", kCheckList, false},
                      PrescanFault{"SetupStatus", "0x8217", " Paper Jammed", false},
                      PrescanFault{"SetupStatus", "0x8321", " No Paper", false},
                      PrescanFault{"SetupStatus", "0x8414", " Slide Scanner Cover", false},
                      PrescanFault{"SetupStatus", "0x8001", kCheckList, false},
                      PrescanFault{"StartReply", "zero-lines", "", false},
                      PrescanFault{"StartReply", "oversized", kCheckList, false},
                      PrescanFault{"ReadFault", "0x8217@200", " Paper Jammed", true},
                      PrescanFault{"ShadingLines", "4", "", false},
                      PrescanFault{"HangAfterLine", "100", kCheckList, true}));

TEST_F(PrescanTest, CheckListAndCaptionsComeFromTheCallersLanguage) {
    Simulate("SetupStatus", "0x8217");
    PrescanCall call = Call();
    call.language = 1;
    Prescan(call);
    auto boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, " Papierstau im automatischen Vorlageneinzug");
    EXPECT_EQ(boxes[0].caption, "SCANNER Flachbettscanner");
    EXPECT_EQ(boxes[0].flags, plat::kMbOk | plat::kMbIconHand | plat::kMbSystemModal);
    EXPECT_EQ(boxes[0].owner, Call().owner);

    SetUp();  // a fresh simulator: it reads its faults when it powers on
    Simulate("InquiryStatus", "255");
    Prescan(call);
    boxes = plat::host::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Flachbettscanner nicht bereit.");
    EXPECT_EQ(boxes[0].text.rfind(" Bitte prüfen Sie:", 0), 0u);
    EXPECT_EQ(boxes[0].flags, plat::kMbOk | plat::kMbIconAsterisk);
}

TEST_F(PrescanTest, FileProblemsAreToldAndLeaveNoFile) {
    std::vector<std::string> texts;
    plat::host::SetFreeDiskBytes(100000);
    EXPECT_TRUE(IsZero(Prescan()));
    EXPECT_FALSE(BitmapExists());
    texts = MessageTexts();
    SetUp();
    plat::host::FailWriteAt(2);  // the rows, after the header
    EXPECT_TRUE(IsZero(Prescan()));
    EXPECT_FALSE(BitmapExists());
    for (const std::string& t : MessageTexts()) texts.push_back(t);
    SetUp();
    plat::host::FailAllocationsAbove(400000);  // the rows cannot be had
    EXPECT_TRUE(IsZero(Prescan()));
    EXPECT_FALSE(BitmapExists());
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    EXPECT_EQ(texts, (std::vector<std::string>{"Disk space not enough.", "WRITE disk file error."}));
}

// The window's own store: the level-correction curves built at enable are lent for the call,
// the first prescan of a window measures, and the green coefficients stay for the next one.
TEST_F(PrescanTest, TheWindowsStoreLendsTheEnableCurvesAndKeepsWhatTheScannerMeasured) {
    const uint16_t calibration[4] = {kSimulatorCalibration, kSimulatorCalibration,
                                     kSimulatorCalibration, kSimulatorCalibration};
    ASSERT_TRUE(BuildLevelCorrectionTables(calibration));
    std::filesystem::copy_file(KV_PRESCAN_LIBRARY, windowsDir / "TWAIN_32" / "KVTC_A3" / "PRESCAN.DLL");
    PrescanStore windowStore;
    windowStore.ForceCalibration();
    PrescanArguments args;
    args.store = windowStore.Lend();
    ASSERT_NE(args.store->conversion[1], nullptr);
    EXPECT_EQ(args.store->conversion[1][4095], LevelCorrectionEntry(kSimulatorCalibration, 4095));
    PreScanResult r{};
    ASSERT_EQ(CallPrescanLibrary(windowsDir.string(), args, r), PrescanCallOutcome::Called);
    windowStore.Release();
    EXPECT_EQ(windowStore.View().conversion[0], nullptr);
    EXPECT_EQ(windowStore.View().forceCalibration, 0);
    EXPECT_EQ(windowStore.View().keptSamples, 351);
    EXPECT_EQ(Bitmap().rows, Reference(30).data);
    FreeLevelCorrectionTables();
}
