#include <cstring>

#include "session/call_codes.h"
#include "tests/unit/twain/source_fixture.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/source_record.h"

namespace {

class EntryTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        InitialiseSource();
    }
    TW_IDENTITY app{};
};

TEST_F(EntryTest, IdentityGetToleratesWhatTheManagerSendsWhileListing) {
    TW_IDENTITY garbage;
    std::memset(&garbage, 0xA5, sizeof garbage);
    TW_IDENTITY out{};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(DS_Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, &out), TWRC_SUCCESS);
        EXPECT_EQ(DS_Entry(&garbage, DG_CONTROL, DAT_IDENTITY, MSG_GET, &out), TWRC_SUCCESS);
    }
    EXPECT_STREQ(out.ProductName, "A3 Flatbed Scanner");
}

TEST_F(EntryTest, NullDataIsRefusedNotDereferenced) {
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADVALUE);
}

TEST_F(EntryTest, UnlistedTripletsAreBadProtocol) {
    TW_IDENTITY out{};
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &out), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADPROTOCOL);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, &out),
              TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADPROTOCOL);
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_CUSTOMBASE + 7, MSG_GET, &out), TWRC_FAILURE);
    EXPECT_EQ(TheCall.SourceConditionCode, TWCC_BADPROTOCOL);
}

TEST_F(EntryTest, DispatchIgnoresTheDataGroup) {
    TW_IDENTITY out{};
    EXPECT_EQ(DS_Entry(&app, DG_AUDIO, DAT_IDENTITY, MSG_GET, &out), TWRC_SUCCESS);
    EXPECT_STREQ(out.Manufacturer, "SCANNER");
}

TEST_F(EntryTest, ProcessEventWithoutWindowIsNotOurs) {
    TW_EVENT event{};
    event.TWMessage = 0x1234;
    EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0x1234);
}

TEST_F(EntryTest, ForeignOriginSeesThePreviousResultAndChangesNothing) {
    TheSource.AppIdentity.Id = 7;
    TW_IDENTITY owner{};
    owner.Id = 7;
    TW_IDENTITY other{};
    other.Id = 8;
    EXPECT_EQ(DS_Entry(&owner, DG_CONTROL, DAT_PARENT, MSG_GET, nullptr), TWRC_FAILURE);
    TW_IDENTITY out{};
    EXPECT_EQ(DS_Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_GET, &out), TWRC_FAILURE);
    EXPECT_EQ(out.Manufacturer[0], '\0');
    EXPECT_EQ(TheSource.CallOrigin, &owner);
    EXPECT_EQ(DS_Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, &out), TWRC_FAILURE);
}

}  // namespace
