// The applications the source treats differently: the transfer-mechanism rules, the reduced
// handler for the application of string 62, and the names the other parts ask about.
#include <vector>

#include "platform/host/host_control.h"
#include "session/call_codes.h"
#include "tests/unit/capability/capability_fixture.h"
#include "twain/capability_applications.h"
#include "twain/capability_texts.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

TEST_F(CapabilityTest, MemoryOnlyApplicationGetsMemoryWhateverItAsks) {
    NameApplication("iPhoto Plus 4");
    TheNegotiation.XferMechIndex = 1;
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADVALUE);
    EXPECT_EQ(TheNegotiation.XferMechIndex, 2);
    TheNegotiation.XferMechIndex = 1;
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, 7), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.XferMechIndex, 2);
}

TEST_F(CapabilityTest, OneProductOfTheMemoryOnlyFamilyIsForcedTheOthersRefused) {
    NameApplication("Acquire Image Plugin", "Adobe PageMaker");
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.XferMechIndex, 2);
    NameApplication("Export Filter", "Adobe PageMaker");
    TheNegotiation.XferMechIndex = 1;
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADVALUE);
    EXPECT_EQ(TheNegotiation.XferMechIndex, 1);
    // Names are compared exactly.
    NameApplication("Export Filter", "adobe pagemaker");
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.XferMechIndex, 0);
}

TEST_F(CapabilityTest, ApplicationNamesComeFromTheirStrings) {
    struct Case {
        const char* name;
        bool (*test)();
    };
    const Case cases[] = {
        {"Microsoft Publisher", AppUsesReducedCapabilities},
        {"Micrografx Picture Publisher", AppIsBatchPublisher},
        {"Photoshop", AppAdmitsDeepColour},
        {"WinFax PRO 3.0", AppIsFaxProgram},
        {"Delrina WinFax PRO 4.0", AppIsFaxProgram},
        {"Corvane Office", AppWantsPlainToneTables},
        {"Tintara Color Manager", AppIsColourManager},
    };
    for (const Case& named : cases) {
        NameApplication(named.name);
        for (const Case& other : cases)
            EXPECT_EQ(other.test(), other.test == named.test) << named.name;
    }
    NameApplication("photoshop");
    EXPECT_FALSE(AppAdmitsDeepColour());
}

class ReducedTest : public CapabilityTest {
protected:
    void SetUp() override {
        CapabilityTest::SetUp();
        NameApplication("Microsoft Publisher");
    }
};

TEST_F(ReducedTest, RefusedBeforeTheSourceIsOpen) {
    EnterState(300);
    TheSource.AppIdentity = app;  // the name alone does not open the source
    EXPECT_EQ(Query(ICAP_PIXELTYPE, MSG_GET).rc, TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_SEQERROR);
}

TEST_F(ReducedTest, FixedCapabilitiesAnswerWhateverTheMessage) {
    struct Row {
        TW_UINT16 cap, itemType;
        uint32_t item;
    };
    const Row rows[] = {{ICAP_COMPRESSION, TWTY_UINT16, 0}, {CAP_XFERCOUNT, TWTY_INT16, 0xFFFFFFFF},
                        {ICAP_FILTER, TWTY_UINT16, 3},      {ICAP_LIGHTSOURCE, TWTY_UINT16, 4},
                        {ICAP_PIXELFLAVOR, TWTY_BOOL, 0}};
    for (const Row& row : rows) {
        for (TW_UINT16 msg : {MSG_GET, MSG_GETDEFAULT, MSG_RESET, MSG_QUERYSUPPORT}) {
            const Answer a = Query(row.cap, msg);
            EXPECT_EQ(a.rc, TWRC_SUCCESS);
            EXPECT_EQ(a.itemType, row.itemType) << row.cap;
            EXPECT_EQ(a.items, std::vector<uint32_t>{row.item}) << row.cap;
        }
    }
    EXPECT_EQ(SetOne(CAP_XFERCOUNT, TWTY_INT16, 3), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.PendingCount, 0xFFFF);
}

TEST_F(ReducedTest, TextsAnswerInPlaceOfTheItem) {
    SetProfile("KVTINFO_A3", "BRAND", "Solenne");
    plat::host::SetLocalTime({1999, 12, 5, 31, 23, 59, 7, 0});
    const Answer author = Query(CAP_AUTHOR, MSG_GET);
    EXPECT_EQ(author.itemType, TWTY_STR128);
    EXPECT_EQ(author.blockBytes, 2u + 130);
    EXPECT_EQ(author.text, "Corvane Corporation");
    const Answer caption = Query(CAP_CAPTION, MSG_GETCURRENT);
    EXPECT_EQ(caption.itemType, TWTY_STR255);
    EXPECT_EQ(caption.text, "Solenne Scanners");
    const Answer date = Query(CAP_TIMEDATE, MSG_SET);
    EXPECT_EQ(date.itemType, TWTY_STR32);
    EXPECT_EQ(date.text, "Fri Dec 31 23:59:07 1999\n");
}

TEST_F(ReducedTest, TextsAreCutToTheirBlock) {
    SetProfile("KVTINFO_A3", "BRAND", std::string(255, 'B'));
    EXPECT_EQ(Query(CAP_CAPTION, MSG_GET).text, std::string(255, 'B'));
    EXPECT_EQ(TimeDateText({2024, 1, 1, 2, 3, 4, 5, 0}), "Mon Jan  2 03:04:05 2024\n");
    EXPECT_EQ(TimeDateText({2024, 13, 9, 2, 3, 4, 5, 0}), "??? ???  2 03:04:05 2024\n");
}

TEST_F(ReducedTest, ImageSettingsOfTheApplicationAreRefused) {
    for (TW_UINT16 capId : {ICAP_AUTOBRIGHT, ICAP_BRIGHTNESS, ICAP_CONTRAST, ICAP_GAMMA,
                            ICAP_PHYSICALWIDTH, ICAP_PLANARCHUNKY, ICAP_SUPPORTEDSIZES,
                            ICAP_TIMEFILL}) {
        EXPECT_EQ(Query(capId, MSG_GET).rc, TWRC_FAILURE) << capId;
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE) << capId;
        EXPECT_EQ(SetOne(capId, TWTY_UINT16, 0), TWRC_FAILURE) << capId;
    }
    // Unassigned numbers and everything outside the block are simply not supported.
    for (TW_UINT16 capId : {TW_UINT16(0x110B), TW_UINT16(0x1129), TW_UINT16(0x1102),
                            TW_UINT16(0x112B), CAP_FEEDERENABLED}) {
        EXPECT_EQ(Query(capId, MSG_GETCURRENT).rc, TWRC_FAILURE) << capId;
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADCAP) << capId;
        EXPECT_EQ(SetOne(capId, TWTY_UINT16, 0), TWRC_SUCCESS) << capId;
    }
}

TEST_F(ReducedTest, TablesAreListedAndSettingsChangeNothing) {
    TheNegotiation.PixelTypeIndex = 2;
    const Answer pixel = Query(ICAP_PIXELTYPE, MSG_GET);
    EXPECT_EQ(pixel.conType, TWON_ENUMERATION);
    EXPECT_EQ(pixel.items, (std::vector<uint32_t>{TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE}));
    EXPECT_EQ(pixel.currentIndex, 2u);
    EXPECT_EQ(Query(ICAP_PIXELTYPE, MSG_GETCURRENT).items[0], TWPT_RGB);
    EXPECT_EQ(Query(ICAP_PIXELTYPE, MSG_GETDEFAULT).items[0], TWPT_BW);

    const Answer mech = Query(ICAP_XFERMECH, MSG_GET);
    EXPECT_EQ(mech.items.size(), 3u);
    EXPECT_EQ(mech.defaultIndex, 2u);
    EXPECT_EQ(Query(ICAP_XFERMECH, MSG_GETDEFAULT).items[0], TWSX_MEMORY);
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE), TWRC_SUCCESS);
    EXPECT_EQ(Status(), TWCC_SUCCESS);
    EXPECT_EQ(TheNegotiation.XferMechIndex, 2);
    EXPECT_EQ(Query(ICAP_UNITS, MSG_GET).items.size(), 6u);
    EXPECT_EQ(Query(ICAP_IMAGEFILEFORMAT, MSG_GET).items.size(), 4u);

    TheNegotiation.ResolutionIndex = 7;
    const Answer res = Query(ICAP_YRESOLUTION, MSG_GET);
    EXPECT_EQ(res.itemType, TWTY_UINT32);
    EXPECT_EQ(res.currentIndex, 7u);
    for (TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETDEFAULT}) {
        const Answer current = Query(ICAP_XRESOLUTION, msg);
        EXPECT_EQ(current.itemType, TWTY_UINT32);
        EXPECT_EQ(current.items[0], 600u);
    }
    EXPECT_EQ(Query(ICAP_XRESOLUTION, MSG_RESET).rc, TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.ResolutionIndex, 7);
}

TEST_F(ReducedTest, AFailedContainerIsLowMemory) {
    plat::host::FailAllocationAt(1);
    EXPECT_EQ(Query(ICAP_UNITS, MSG_GET).rc, TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_LOWMEMORY);
    plat::host::FailAllocationAt(1);
    EXPECT_EQ(Query(ICAP_FILTER, MSG_SET).rc, TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_LOWMEMORY);
    plat::host::FailAllocationAt(0);
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

}  // namespace
