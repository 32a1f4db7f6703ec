// The full handler's table, capability by capability: what each query answers, what each
// setting does or refuses, and what a reset restores.
#include <vector>

#include "engine/scan_job_flags.h"
#include "session/call_codes.h"
#include "tests/unit/capability/capability_fixture.h"
#include "twain/capability_kept.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

constexpr uint32_t Fix(int16_t whole, uint16_t fraction = 0) {
    return uint16_t(whole) | uint32_t{fraction} << 16;
}

struct FixedRow {
    TW_UINT16 cap;
    TW_UINT16 itemType;
    uint32_t item;
};

// Capabilities with one fixed answer, which a setting never changes.
const FixedRow kFixed[] = {
    {ICAP_COMPRESSION, TWTY_UINT16, TWCP_NONE},
    {CAP_INDICATORS, TWTY_BOOL, 0},
    {ICAP_FILTER, TWTY_UINT16, TWFT_NONE},
    {ICAP_LIGHTSOURCE, TWTY_UINT16, TWLS_WHITE},
    {ICAP_PHYSICALWIDTH, TWTY_FIX32, Fix(11, 39322)},
    {ICAP_PHYSICALHEIGHT, TWTY_FIX32, Fix(17)},
};

TEST_F(CapabilityTest, FixedValuesAnswerEveryQueryAndIgnoreSettings) {
    for (const FixedRow& row : kFixed) {
        for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
            const Answer a = Query(row.cap, msg);
            ASSERT_EQ(a.rc, TWRC_SUCCESS) << row.cap << "/" << msg;
            EXPECT_EQ(a.conType, TWON_ONEVALUE) << row.cap;
            EXPECT_EQ(a.blockBytes, 6u);
            EXPECT_EQ(a.itemType, row.itemType) << row.cap;
            EXPECT_EQ(a.items[0], row.item) << row.cap;
        }
        EXPECT_EQ(SetOne(row.cap, row.itemType == TWTY_BOOL ? TWTY_UINT16 : row.itemType, 1),
                  TWRC_SUCCESS);
        EXPECT_EQ(Status(), TWCC_BADVALUE) << row.cap;
        EXPECT_EQ(Status(), TWCC_SUCCESS);
        EXPECT_EQ(Query(row.cap, MSG_GET).items[0], row.item);
    }
}

TEST_F(CapabilityTest, TransferCountAnswersMinusOneAndSetsThePendingCount) {
    const Answer a = Query(CAP_XFERCOUNT, MSG_GETCURRENT);
    EXPECT_EQ(a.itemType, TWTY_INT16);
    EXPECT_EQ(int16_t(a.items[0]), -1);
    EXPECT_EQ(SetOne(CAP_XFERCOUNT, TWTY_INT16, 5), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.PendingCount, 5);
    EXPECT_EQ(int16_t(Query(CAP_XFERCOUNT, MSG_GET).items[0]), -1);
}

TEST_F(CapabilityTest, UnknownCapabilitiesAreRefusedExceptForSettings) {
    for (TW_UINT16 capId : {CAP_DUPLEX, ICAP_GAMMA, TW_UINT16(0x8123)}) {
        for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
            EXPECT_EQ(Query(capId, msg).rc, TWRC_FAILURE);
            EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADCAP);
        }
        EXPECT_EQ(SetOne(capId, TWTY_UINT16, 1), TWRC_SUCCESS);
        EXPECT_EQ(Status(), TWCC_BADVALUE);
    }
    for (TW_UINT16 capId : {CAP_CLEARPAGE, CAP_FEEDPAGE}) {
        for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_RESET}) {
            EXPECT_EQ(Query(capId, msg).rc, TWRC_FAILURE);
            EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADCAP);
        }
        EXPECT_EQ(SetOne(capId, TWTY_UINT16, 1), TWRC_FAILURE);
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADCAP);
    }
}

TEST_F(CapabilityTest, OnlyTheFiveNegotiationMessagesAreServed) {
    for (TW_UINT16 msg : {MSG_GETFIRST, MSG_GETNEXT, MSG_QUERYSUPPORT, MSG_NULL}) {
        EXPECT_EQ(Query(ICAP_PIXELTYPE, msg).rc, TWRC_FAILURE);
        EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADPROTOCOL);
    }
}

struct IndexedRow {
    TW_UINT16 cap;
    std::vector<uint32_t> legal;
    uint32_t illegal;
    uint32_t start;
};

// One-value capabilities whose value is an index into a table.
const IndexedRow kIndexed[] = {
    {ICAP_PIXELTYPE, {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE}, TWPT_CMYK, TWPT_BW},
    {ICAP_UNITS, {0, 1, 2, 3, 4, 5}, 6, TWUN_INCHES},
    {ICAP_XFERMECH, {TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY}, 3, TWSX_MEMORY},
    {ICAP_IMAGEFILEFORMAT, {TWFF_TIFF, TWFF_BMP}, TWFF_JFIF, TWFF_TIFF},
};

TEST_F(CapabilityTest, IndexedValuesAreSetInTheirTableAndResetToTheStart) {
    for (const IndexedRow& row : kIndexed) {
        EXPECT_EQ(Query(row.cap, MSG_GET).items[0], row.start) << row.cap;
        for (uint32_t value : row.legal) {
            ASSERT_EQ(SetOne(row.cap, TWTY_UINT16, value), TWRC_SUCCESS) << row.cap;
            EXPECT_EQ(Status(), TWCC_SUCCESS);
            // The default is answered with the current value.
            for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
                const Answer a = Query(row.cap, msg);
                EXPECT_EQ(a.itemType, TWTY_UINT16);
                EXPECT_EQ(a.items[0], value) << row.cap << "/" << msg;
            }
        }
        const uint32_t last = row.legal.back();
        EXPECT_EQ(SetOne(row.cap, TWTY_UINT16, row.illegal), TWRC_FAILURE);
        EXPECT_EQ(Status(), TWCC_BADVALUE);
        EXPECT_EQ(Query(row.cap, MSG_GETCURRENT).items[0], last);
        const Answer reset = Query(row.cap, MSG_RESET);
        EXPECT_EQ(reset.rc, TWRC_SUCCESS);
        EXPECT_EQ(reset.items[0], row.start) << row.cap;
    }
}

TEST_F(CapabilityTest, FileFormatsWithoutAWriterAreRefused) {
    for (uint32_t format : {TWFF_PICT, TWFF_XBM}) {
        EXPECT_EQ(SetOne(ICAP_IMAGEFILEFORMAT, TWTY_UINT16, format), TWRC_FAILURE);
        EXPECT_EQ(Status(), TWCC_BADVALUE);
    }
    EXPECT_EQ(TheNegotiation.FileFormatIndex, 0);
}

TEST_F(CapabilityTest, ResolutionListsTheTableAndSetsBothAxes) {
    const Answer list = Query(ICAP_YRESOLUTION, MSG_GET);
    EXPECT_EQ(list.conType, TWON_ENUMERATION);
    EXPECT_EQ(list.itemType, TWTY_UINT32);
    EXPECT_EQ(list.blockBytes, 14u + 8 * 4 + 1);
    EXPECT_EQ(list.items, (std::vector<uint32_t>{75, 100, 150, 200, 300, 400, 500, 600}));
    EXPECT_EQ(list.currentIndex, 4u);
    EXPECT_EQ(list.defaultIndex, 4u);

    EXPECT_EQ(SetOne(ICAP_XRESOLUTION, TWTY_FIX32, Fix(150, 0x8000)), TWRC_SUCCESS);
    const Answer y = Query(ICAP_YRESOLUTION, MSG_GETDEFAULT);
    EXPECT_EQ(y.itemType, TWTY_FIX32);
    EXPECT_EQ(y.items[0], Fix(150));
    EXPECT_EQ(Query(ICAP_XRESOLUTION, MSG_GET).currentIndex, 2u);

    EXPECT_EQ(SetOne(ICAP_YRESOLUTION, TWTY_FIX32, Fix(250)), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADVALUE);
    EXPECT_EQ(Query(ICAP_XRESOLUTION, MSG_GETCURRENT).items[0], Fix(150));
    // An integer item is its own whole part: 600 + 65536 is not 600.
    EXPECT_EQ(SetOne(ICAP_YRESOLUTION, TWTY_UINT32, 600 + 65536), TWRC_FAILURE);
    EXPECT_EQ(SetOne(ICAP_YRESOLUTION, TWTY_UINT32, 600), TWRC_SUCCESS);
    EXPECT_EQ(Query(ICAP_XRESOLUTION, MSG_RESET).items[0], Fix(300));
}

TEST_F(CapabilityTest, SupportedSizesListNineAndIgnoreOthers) {
    const Answer list = Query(ICAP_SUPPORTEDSIZES, MSG_GET);
    EXPECT_EQ(list.conType, TWON_ENUMERATION);
    EXPECT_EQ(list.itemType, TWTY_UINT16);
    EXPECT_EQ(list.blockBytes, 14u + 9 * 2 + 1);
    EXPECT_EQ(list.items, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(SetOne(ICAP_SUPPORTEDSIZES, TWTY_UINT16, 6), TWRC_SUCCESS);
    EXPECT_EQ(Query(ICAP_SUPPORTEDSIZES, MSG_GET).currentIndex, 6u);
    EXPECT_EQ(SetOne(ICAP_SUPPORTEDSIZES, TWTY_UINT16, 9), TWRC_SUCCESS);
    EXPECT_EQ(Status(), TWCC_SUCCESS);
    EXPECT_EQ(Query(ICAP_SUPPORTEDSIZES, MSG_GETCURRENT).items[0], 6u);
    EXPECT_EQ(Query(ICAP_SUPPORTEDSIZES, MSG_RESET).items[0], 0u);
}

TEST_F(CapabilityTest, BrightnessAndContrastKeepTheWholePartInRange) {
    for (TW_UINT16 capId : {ICAP_BRIGHTNESS, ICAP_CONTRAST}) {
        TW_INT16& level = capId == ICAP_BRIGHTNESS ? TheNegotiation.Brightness
                                                   : TheNegotiation.Contrast;
        EXPECT_EQ(SetOne(capId, TWTY_FIX32, Fix(1000, 0xC000)), TWRC_SUCCESS);  // 1000.75
        EXPECT_EQ(level, 1000);
        const Answer range = Query(capId, MSG_GET);
        EXPECT_EQ(range.conType, TWON_RANGE);
        EXPECT_EQ(range.itemType, TWTY_FIX32);
        EXPECT_EQ(range.blockBytes, 22u);
        EXPECT_EQ(range.items, (std::vector<uint32_t>{Fix(-1000), Fix(1000), Fix(80), 0, Fix(1000)}));

        EXPECT_EQ(SetOne(capId, TWTY_FIX32, Fix(-1001)), TWRC_FAILURE);
        EXPECT_EQ(Status(), TWCC_BADVALUE);
        EXPECT_EQ(SetOne(capId, TWTY_INT32, uint32_t(-1000)), TWRC_SUCCESS);
        EXPECT_EQ(Query(capId, MSG_GETCURRENT).items[0], Fix(-1000));
        EXPECT_EQ(Query(capId, MSG_RESET).items[0], 0u);
        EXPECT_EQ(level, 0);
    }
}

TEST_F(CapabilityTest, PixelFlavorAndPlanarSettingsReachTheirFlagsButNotTheAnswers) {
    EXPECT_EQ(SetOne(ICAP_PIXELFLAVOR, TWTY_UINT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(TheKeptCapabilities.PixelFlavorFlag, 1);
    EXPECT_EQ(Query(ICAP_PIXELFLAVOR, MSG_GETCURRENT).items[0], 0u);
    EXPECT_EQ(SetOne(ICAP_PIXELFLAVOR, TWTY_UINT8, 0), TWRC_SUCCESS);
    EXPECT_EQ(TheKeptCapabilities.PixelFlavorFlag, 0);

    EXPECT_EQ(SetOne(ICAP_PLANARCHUNKY, TWTY_UINT16, TWPC_CHUNKY), TWRC_SUCCESS);
    EXPECT_TRUE(TheScanJobFlags.PostProcessing);
    EXPECT_EQ(Query(ICAP_PLANARCHUNKY, MSG_GET).items[0], TWPC_PLANAR);
    EXPECT_EQ(SetOne(ICAP_PLANARCHUNKY, TWTY_UINT16, TWPC_PLANAR), TWRC_SUCCESS);
    EXPECT_FALSE(TheScanJobFlags.PostProcessing);
}

TEST_F(CapabilityTest, AnEnumerationSetsItsFirstItemWhateverItsCurrentIndex) {
    EXPECT_EQ(SetEnumeration(ICAP_PIXELTYPE, TWTY_UINT16, {TWPT_GRAY, TWPT_RGB}, 1), TWRC_SUCCESS);
    EXPECT_EQ(Query(ICAP_PIXELTYPE, MSG_GETCURRENT).items[0], TWPT_GRAY);
    EXPECT_EQ(SetEnumeration(ICAP_XRESOLUTION, TWTY_INT8, {75, 100}, 1), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.ResolutionIndex, 0);
}

TEST_F(CapabilityTest, ValuesAreServedAndKeptInEveryState) {
    for (int state : {300, 500, 600, 700}) {
        EnterState(state);
        EXPECT_EQ(SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB), TWRC_SUCCESS) << state;
        EXPECT_EQ(Query(ICAP_PIXELTYPE, MSG_GET).items[0], TWPT_RGB) << state;
        EXPECT_EQ(Query(ICAP_PIXELTYPE, MSG_RESET).items[0], TWPT_BW) << state;
    }
}

}  // namespace
