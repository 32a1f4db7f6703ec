#include <string>

#include "platform/host/host_control.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "session/ui_hooks.h"
#include "tests/unit/twain/source_fixture.h"

namespace {

class MessagesTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        TheLanguage = InterfaceLanguage{};
        enabled = 0;
        TheUi = UiHooks{};
        TheUi.EnableScanControls = [] { ++enabled; };
    }
    void TearDown() override {
        TheUi = UiHooks{};
        TheLanguage = InterfaceLanguage{};
        SourceTest::TearDown();
    }
    plat::host::MessageBoxRecord Last() { return plat::host::MessageBoxes().back(); }
    static int enabled;
};
int MessagesTest::enabled = 0;

TEST_F(MessagesTest, ErrorCaptionJoinsBrandAndModelWithoutABlank) {
    ShowErrorMessage(nullptr, 604);
    EXPECT_EQ(Last().caption, "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(Last().text, " Insufficient Memory.");
    EXPECT_EQ(Last().flags, plat::kMbOk | plat::kMbIconHand);
    EXPECT_EQ(enabled, 1);
}

TEST_F(MessagesTest, SolenneGetsOneBlankInEveryCaption) {
    SetProfile("KVTINFO_A3", "BRAND", "SoLeNnE");
    ShowErrorMessage(nullptr, 619);
    EXPECT_EQ(Last().caption, "SoLeNnE A3 Flatbed Scanner");
    ShowSizeMessage(nullptr, 10, 20);
    EXPECT_EQ(Last().caption, "SoLeNnE A3 Flatbed Scanner");
    EXPECT_EQ(ScannerCaption(), "SoLeNnE A3 Flatbed Scanner");
}

TEST_F(MessagesTest, CheckListNamesTheProblemInTheCaption) {
    ShowErrorMessage(nullptr, 609);
    EXPECT_EQ(Last().caption, "SCANNERFlatbed Scanner not found.");
    EXPECT_EQ(Last().text.find(" Please make sure : 1. The scanner is turned on"), 0u);
    EXPECT_EQ(Last().flags, plat::kMbOk | plat::kMbIconAsterisk);
}

TEST_F(MessagesTest, SizeAndBufferMessagesUseASpacedCaption) {
    ShowSizeMessage(nullptr, 1025, 1024);
    EXPECT_EQ(Last().caption, "SCANNER A3 Flatbed Scanner");
    EXPECT_EQ(Last().text,
              "The new image requires 1024 bytes of unused diskspace.Your disk has only 1K bytes"
              " of unused diskspace. Free up some space on the disk.");
    ShowBufferMessage(nullptr);
    EXPECT_EQ(Last().caption, "SCANNER A3 Flatbed Scanner");
    EXPECT_EQ(Last().text.find("The Application buffers are not enough for transfering your image"
                               " width."),
              0u);
    EXPECT_EQ(enabled, 2);
}

TEST_F(MessagesTest, AmountsAboveOneKiBAreShownInKiB) {
    EXPECT_EQ(SizeMessageAmount(1024, 1024), "1024");
    EXPECT_EQ(SizeMessageAmount(1025, 1024), "1K");
    EXPECT_EQ(SizeMessageAmount(5000000, 1024), "4882K");
    ShowSizeMessage(nullptr, 0, 0xFFFFFC00u);  // a negative need is shown in KiB too
    EXPECT_NE(Last().text.find("requires 4194303K bytes"), std::string::npos);
}

TEST_F(MessagesTest, PlainMessageHasNoIconAndLeavesTheControls) {
    ShowPlainMessage(nullptr, "hello");
    EXPECT_EQ(Last().flags, plat::kMbOk);
    EXPECT_EQ(Last().caption, "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(enabled, 0);
}

TEST_F(MessagesTest, TextsFollowTheInterfaceLanguage) {
    SetProfile("KVTINFO_A3", "LANGUAGE", "Deutsch");
    ReadInterfaceLanguage(TheLanguage);
    EXPECT_EQ(TheLanguage.base, 1000);
    ShowErrorMessage(nullptr, 619);
    EXPECT_EQ(Last().text, LanguageString(619));
    EXPECT_NE(Last().text, "Write disk file error.");
    EXPECT_FALSE(Last().text.empty());
}

}  // namespace
