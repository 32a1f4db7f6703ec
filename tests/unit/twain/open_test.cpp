#include <cstring>
#include <string>

#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "platform/host/host_control.h"
#include "session/call_codes.h"
#include "tests/unit/twain/open_fixture.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/open_source.h"
#include "twain/source_record.h"

namespace {

const std::string kCheckList =
    " Please make sure : 1. The scanner is turned on and power LED is green. 2. The cables "
    "are connected. 3. That you turned on the scanner before you turned on the computer.";

TEST_F(OpenTest, OpensWithDefaultsAndReportsTheIdentification) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 400);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_SUCCESS);
    EXPECT_EQ(opened.Id, 42u);
    EXPECT_STREQ(opened.Version.Info, "11050kvtc_a3.d\nAdaptec Card\n");
    EXPECT_STREQ(opened.ProductName, "A3 Flatbed Scanner");
    EXPECT_EQ(+TheSource.AppIdentity.Id, 11u);
    EXPECT_STREQ(TheSource.AppIdentity.ProductName, "Test Application");
    EXPECT_TRUE(TheLink.port.DefaultPortLibrary);
    EXPECT_EQ(TheOpenConfiguration.SourceLanguageName, "None");
    EXPECT_EQ(TheLink.opticalResolution, 1200);
    EXPECT_EQ(TheLink.narrowBed, 0);
    EXPECT_FALSE(TheLink.remote);
    EXPECT_TRUE(plat::host::MessageBoxes().empty());

    TW_IDENTITY again{};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_GET, &again), TWRC_SUCCESS);
    EXPECT_STREQ(again.Version.Info, opened.Version.Info);
}

TEST_F(OpenTest, FirmwareAndVariantShapeTheIdentification) {
    Simulate("Firmware", "3A7");
    Simulate("Variant", "1");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_STREQ(opened.Version.Info, "13A71kvtc_a3.d\nAdaptec Card\n");
}

TEST_F(OpenTest, IdentificationIsCutAt33Characters) {
    InquiryBlock inquiry{};
    inquiry.firmwareMajor = '1';
    inquiry.firmwareMinor[0] = '0';
    inquiry.firmwareMinor[1] = '5';
    const std::string text = IdentificationText(inquiry, std::string(40, 'c'));
    EXPECT_EQ(text.size(), 33u);
    EXPECT_EQ(text.substr(0, 15), "11050kvtc_a3.d\n");
}

TEST_F(OpenTest, SecondOpenIsRefusedAndReopenStartsAfresh) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    const std::string firstName = TheNegotiation.DefaultFileSetup.FileName;
    TheNegotiation.ResolutionIndex = 7;
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_MAXCONNECTIONS);
    EXPECT_EQ(TheSource.SourceState, 400);

    ASSERT_EQ(Close(), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 300);
    EXPECT_EQ(+TheSource.AppIdentity.Id, 0u);
    EXPECT_EQ(TheSource.PortLibrary, nullptr);
    EXPECT_EQ(Close(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_SEQERROR);

    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.ResolutionIndex, 4);
    EXPECT_NE(firstName, TheNegotiation.DefaultFileSetup.FileName);
    const std::string name = TheNegotiation.DefaultFileSetup.FileName;
    EXPECT_EQ(name.substr(name.size() - 4), ".TIF");
    EXPECT_FALSE(plat::FileExists(name.c_str()));  // the system's file was deleted at once
}

TEST_F(OpenTest, OtherApplicationsAreIgnoredWhileOpen) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    TW_IDENTITY other = app;
    other.Id = 12;
    TW_IDENTITY out{};
    EXPECT_EQ(DS_Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &out), TWRC_SUCCESS);
    EXPECT_EQ(+TheSource.AppIdentity.Id, 11u);
    EXPECT_EQ(DS_Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 400);
}

TEST_F(OpenTest, UnterminatedApplicationNamesAreCutOnCopy) {
    std::memset(app.ProductName, 'P', sizeof app.ProductName);
    std::memset(app.Manufacturer, 'M', sizeof app.Manufacturer);
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(std::strlen(TheSource.AppIdentity.ProductName), 33u);
    EXPECT_EQ(std::strlen(TheSource.AppIdentity.Manufacturer), 33u);
}

TEST_F(OpenTest, NullOriginOrDataIsRefused) {
    TW_IDENTITY id = TheSource.SourceIdentity;
    EXPECT_EQ(DS_Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &id), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
    EXPECT_EQ(TheSource.SourceState, 300);
}

TEST_F(OpenTest, AnotherDriverNameIsLoadedButNotTheStandardLibrary) {
    InstallPortLibrary("qaspi_sp.dll");
    SetProfile("KVTINFO_A3", "DRIVER", "qaspi_sp.dll");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_FALSE(TheLink.port.DefaultPortLibrary);
    EXPECT_NE(TheOpenConfiguration.PortLibraryPath.find("\\TWAIN_32\\KVTC_A3\\qaspi_sp.dll"),
              std::string::npos);
}

TEST_F(OpenTest, MissingLibraryOrExportFailsTheOpen) {
    SetProfile("KVTINFO_A3", "DRIVER", "NOSUCH.DLL");
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    EXPECT_EQ(TheSource.SourceState, 300);

    // A library that loads but lacks the scanner exports.
    std::filesystem::copy_file(KV_OTHER_LIBRARY,
                               windowsDir / "TWAIN_32" / "KVTC_A3" / "OTHER.DLL");
    SetProfile("KVTINFO_A3", "DRIVER", "OTHER.DLL");
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    EXPECT_EQ(TheSource.PortLibrary, nullptr);
    EXPECT_EQ(+TheSource.AppIdentity.Id, 0u);
}

TEST_F(OpenTest, InquiryNotReadyShowsTheCheckListAndStillOpens) {
    Simulate("InquiryStatus", "255");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_EQ(MessageCaptions().size(), 1u);
    EXPECT_EQ(MessageCaptions()[0], "SCANNERFlatbed Scanner not ready.");
    EXPECT_EQ(MessageTexts()[0], kCheckList);
    EXPECT_EQ(plat::host::MessageBoxes()[0].flags, plat::kMbOk | plat::kMbIconAsterisk);
}

TEST_F(OpenTest, PortHeldByAnotherUserFallsBackToTheSharingServer) {
    Simulate("InquiryStatus", "7");
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    ASSERT_EQ(MessageTexts().size(), 2u);
    EXPECT_EQ(MessageTexts()[0], "There is no remote scanner!");
    EXPECT_EQ(MessageCaptions()[0], "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(MessageCaptions()[1], "SCANNERFlatbed Scanner not found.");
    EXPECT_STREQ(TheSource.SourceIdentity.Version.Info, "0");
    EXPECT_EQ(TheSource.SourceState, 300);
}

TEST_F(OpenTest, ScannerOfAnotherSourceIsRefused) {
    Simulate("Capability", "0x20");
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], " This Twain Data Source does not match with Scanner!");
    EXPECT_EQ(MessageCaptions()[0], "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(plat::host::MessageBoxes()[0].flags, plat::kMbOk | plat::kMbIconHand);
}

TEST_F(OpenTest, SharingServerWindowRefusesWhateverTheScannerDoes) {
    plat::host::SetTopLevelWindow("Relaynor", true);
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    ASSERT_EQ(MessageTexts().size(), 1u);
    const std::string text = MessageTexts()[0];
    EXPECT_EQ(text.find("You have to wait for a few more minutes"), 0u);
    EXPECT_NE(text.find("close Relaynor because your local scanner"), std::string::npos);
    EXPECT_NE(text.find("\nIf not, please run Relaynor and close it."), std::string::npos);
    EXPECT_EQ(plat::host::MessageBoxes()[0].flags, plat::kMbOk);
}

TEST_F(OpenTest, NoScannerOnThePort) {
    Simulate("Handle", "0");
    EXPECT_EQ(Open(), TWRC_FAILURE);
    ASSERT_EQ(MessageCaptions().size(), 1u);
    EXPECT_EQ(MessageCaptions()[0], "SCANNERFlatbed Scanner not ready.");
}

TEST_F(OpenTest, WarmingUpScannerShowsTheDialogUntilReady) {
    Simulate("WarmupPolls", "3");
    SetProfile("KVTINFO_A3", "LANGUAGE", "Deutsch");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(dialogEvents, (std::vector<std::string>{"open 62", "close"}));
}

TEST_F(OpenTest, ScannerThatNeverBecomesReadyEndsTheWait) {
    Simulate("NeverReady", "1");
    const uint32_t start = plat::TickCount();
    EXPECT_EQ(Open(), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_OPERATIONERROR);
    EXPECT_GE(plat::TickCount() - start, 60000u);
    EXPECT_EQ(dialogEvents, (std::vector<std::string>{"open 60", "close"}));
    ASSERT_EQ(MessageCaptions().size(), 1u);
    EXPECT_EQ(MessageCaptions()[0], "SCANNERFlatbed Scanner not ready.");
}

TEST_F(OpenTest, NarrowBedAndOtherModels) {
    Simulate("Bed", "narrow");
    Simulate("Model", "800");
    Simulate("Transparency", "1");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(TheLink.narrowBed, 1);
    EXPECT_FLOAT_EQ(TheLink.maxWidthInches, 8.5f);
    EXPECT_FLOAT_EQ(TheLink.maxLengthInches, 11.5f);
    EXPECT_EQ(TheLink.opticalResolution, 800);
    EXPECT_TRUE(TheLink.optionInstalled);
}

// Digits this source does not know ("8000", the prescan library's spelling) keep the
// resolution an earlier open learnt.
TEST_F(OpenTest, UnknownResolutionDigitsKeepTheResolutionLearntBefore) {
    Simulate("Model", "800");
    Simulate("ResolutionDigits", "prescan");
    TheLink.opticalResolution = 800;  // what an earlier open of this process learnt
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(std::string(TheRequests.inquiry.opticalResolution, 4), "8000");
    EXPECT_EQ(TheLink.opticalResolution, 800);
}

TEST_F(OpenTest, LampSaverDelayIsSentAtOpen) {
    SetProfile("A3 SCANNER", "SAVER", "45");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(TheRequests.setParameters.lampSaverMinutes, 45);
    EXPECT_EQ(TheRequests.setParameters.lampSaverOnly, 1);
    ASSERT_EQ(Close(), TWRC_SUCCESS);
    SetProfile("A3 SCANNER", "SAVER", "3");  // outside 5-120 and not 255
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    EXPECT_EQ(TheRequests.setParameters.lampSaverMinutes, 20);
}

}  // namespace

namespace {

TEST_F(OpenTest, ClosingLeavesNoMemoryBehind) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    TW_USERINTERFACE ui{1, 0, nullptr};  // no window can be made here: the enable fails
    DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    EXPECT_EQ(plat::host::LiveBlocks(), 4u);  // the level-correction tables of the scanner
    ASSERT_EQ(Close(), TWRC_SUCCESS);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

}  // namespace
