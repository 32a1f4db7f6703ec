// Every row of the dispatch table in every state: the legal answer, or the listed condition
// code with nothing changed.
#include <cstring>
#include <vector>

#include "session/call_codes.h"
#include "tests/unit/twain/source_fixture.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

struct Row {
    TW_UINT16 dat;
    TW_UINT16 msg;
    std::vector<int> legal;
    TW_UINT16 illegalCondition;
};

// Rows whose handlers need nothing but the records (open and close have tests of their own).
const Row kRows[] = {
    {DAT_IDENTITY, MSG_GET, {300, 400, 500, 600, 700}, TWCC_SEQERROR},
    {DAT_PENDINGXFERS, MSG_GET, {400, 500, 600, 700}, TWCC_SEQERROR},
    {DAT_PENDINGXFERS, MSG_ENDXFER, {600, 700}, TWCC_SEQERROR},
    {DAT_PENDINGXFERS, MSG_RESET, {600, 700}, TWCC_SEQERROR},
    {DAT_SETUPMEMXFER, MSG_GET, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_SETUPFILEXFER, MSG_GET, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_SETUPFILEXFER, MSG_GETDEFAULT, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_SETUPFILEXFER, MSG_SET, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_SETUPFILEXFER, MSG_RESET, {400}, TWCC_SEQERROR},
    {DAT_STATUS, MSG_GET, {400, 500, 600, 700}, TWCC_SEQERROR},
    {DAT_USERINTERFACE, MSG_DISABLEDS, {500, 600, 700}, TWCC_SEQERROR},
    {DAT_XFERGROUP, MSG_GET, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_IMAGEINFO, MSG_GET, {600}, TWCC_SEQERROR},
    {DAT_IMAGELAYOUT, MSG_GET, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_IMAGELAYOUT, MSG_GETDEFAULT, {400, 500, 600}, TWCC_SEQERROR},
    {DAT_IMAGELAYOUT, MSG_SET, {400}, TWCC_SEQERROR},
    {DAT_IMAGELAYOUT, MSG_RESET, {400}, TWCC_SEQERROR},
    {DAT_IDENTITY, MSG_CLOSEDS, {400, 500, 600, 700}, TWCC_SEQERROR},
    {DAT_IDENTITY, MSG_OPENDS, {300}, TWCC_MAXCONNECTIONS},
};

class DispatchTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        InitialiseSource();
        ResetNegotiation(TheNegotiation, "C:\\TEMP\\COR1.TIF");
        app.Id = 5;
    }
    // A source opened by `app` in the given state.
    void EnterState(int state) {
        TheSource.SourceState = static_cast<TW_UINT16>(state);
        TheSource.AppIdentity = state == 300 ? TW_IDENTITY{} : app;
    }
    TW_IDENTITY app{};
    // Large enough for any of the structures, and valid as each of them.
    alignas(8) unsigned char data[512] = {};
};

TEST_F(DispatchTest, IllegalStatesAnswerTheirConditionAndChangeNothing) {
    for (const Row& row : kRows) {
        for (int state : {300, 400, 500, 600, 700}) {
            bool legal = false;
            for (int s : row.legal) legal |= s == state;
            if (legal) continue;
            EnterState(state);
            const NegotiationRecord before = TheNegotiation;
            std::memset(data, 0x5A, sizeof data);
            EXPECT_EQ(DS_Entry(&app, DG_CONTROL, row.dat, row.msg, data), TWRC_FAILURE)
                << row.dat << "/" << row.msg << " in " << state;
            EXPECT_EQ(TheCall.SourceConditionCode, row.illegalCondition)
                << row.dat << "/" << row.msg << " in " << state;
            EXPECT_EQ(TheSource.SourceState, state);
            EXPECT_EQ(data[0], 0x5A) << "data written for " << row.dat << "/" << row.msg;
            EXPECT_EQ(std::memcmp(&before, &TheNegotiation, sizeof before), 0);
        }
    }
}

TEST_F(DispatchTest, LegalStatesAnswerTheRecords) {
    for (int state : {400, 500, 600}) {
        EnterState(state);
        TW_SETUPMEMXFER mem{};
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &mem), TWRC_SUCCESS);
        EXPECT_EQ(mem.MinBufSize, 65536u);
        EXPECT_EQ(mem.MaxBufSize, 65536u);
        EXPECT_EQ(mem.Preferred, 65536u);
        TW_UINT32 group = 0;
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
        EXPECT_EQ(group, DG_IMAGE);
        TW_SETUPFILEXFER file{};
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &file), TWRC_SUCCESS);
        EXPECT_STREQ(file.FileName, "C:\\TEMP\\COR1.TIF");
        EXPECT_EQ(file.Format, TWFF_TIFF);
    }
}

TEST_F(DispatchTest, PendingTransfersAlwaysOneThenZero) {
    EnterState(400);
    TW_PENDINGXFERS pending{77, 0xDEADBEEF};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 1);
    EXPECT_EQ(+pending.Reserved, 0xDEADBEEFu);  // only the count is written
    EnterState(700);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(+pending.Reserved, 0u);
    EXPECT_EQ(TheSource.SourceState, 500);
    EXPECT_EQ(TheNegotiation.PendingCount, 0);
    EnterState(600);
    TheNegotiation.PendingCount = 9;
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 500);
    EXPECT_EQ(TheNegotiation.PendingCount, 9);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_STOPFEEDER, &pending), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADPROTOCOL);
}

TEST_F(DispatchTest, StatusReportsTheRefusalOnceThenSuccess) {
    EnterState(500);
    TW_STATUS status{};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SUCCESS);
    TW_IMAGELAYOUT layout{};
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_FAILURE);
    status.Reserved = 99;
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
    EXPECT_EQ(status.Reserved, 0);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SUCCESS);
}

TEST_F(DispatchTest, FileSetupTakesOnlyTiffWithATerminatedName) {
    EnterState(400);
    TW_SETUPFILEXFER setup;
    std::memset(&setup, 'A', sizeof setup);
    setup.Format = TWFF_BMP;
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
    EXPECT_STREQ(TheNegotiation.CurrentFileSetup.FileName, "C:\\TEMP\\COR1.TIF");
    // A name without its terminator inside the field is refused, not cut.
    setup.Format = TWFF_TIFF;
    TheNegotiation.FileFormatIndex = 2;
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
    EXPECT_EQ(TheNegotiation.FileFormatIndex, 2);
    setup.FileName[255] = '\0';
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(TheNegotiation.FileFormatIndex, 0);
    EXPECT_EQ(std::strlen(TheNegotiation.CurrentFileSetup.FileName), 255u);
    TW_SETUPFILEXFER out{};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET, &out), TWRC_SUCCESS);
    EXPECT_STREQ(out.FileName, "C:\\TEMP\\COR1.TIF");
}

TEST_F(DispatchTest, LayoutIsTakenAsGivenAndResetToTheDefault) {
    EnterState(400);
    TW_IMAGELAYOUT layout{};
    layout.Frame.Right.Whole = 8;
    layout.Frame.Bottom.Whole = 11;
    layout.PageNumber = 42;
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_SUCCESS);
    EnterState(600);
    TW_IMAGELAYOUT out{};
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &out), TWRC_SUCCESS);
    EXPECT_EQ(out.Frame.Bottom.Whole, 11);
    EXPECT_EQ(out.PageNumber, 42u);
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETDEFAULT, &out), TWRC_SUCCESS);
    EXPECT_EQ(out.Frame.Bottom.Whole, 0);
    EXPECT_EQ(out.DocumentNumber, 1u);
    EnterState(400);
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &out), TWRC_SUCCESS);
    EXPECT_EQ(+TheNegotiation.CurrentLayout.PageNumber, 1u);
}

TEST_F(DispatchTest, ImageInfoStartsAsRgbPlanar) {
    EnterState(600);
    TW_IMAGEINFO info;
    std::memset(&info, 0xFF, sizeof info);
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.Planar, 1);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    EXPECT_EQ(info.ImageWidth, 0);
    EXPECT_EQ(DS_Entry(&app, DG_AUDIO, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
}

TEST_F(DispatchTest, DisableReturnsToOpen) {
    for (int state : {500, 600, 700}) {
        EnterState(state);
        TW_USERINTERFACE ui{1, 0, nullptr};
        EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
        EXPECT_EQ(TheSource.SourceState, 400);
    }
}

TEST_F(DispatchTest, NullDataIsRefusedInEveryLegalState) {
    EnterState(600);
    EXPECT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, nullptr), TWRC_FAILURE);
    EXPECT_EQ(TheSource.SourceState, 600);
}

}  // namespace
