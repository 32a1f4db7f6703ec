#include <cstring>
#include <string>

#include "tests/unit/twain/source_fixture.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/source_record.h"

namespace {

class IdentityTest : public SourceTest {
protected:
    TW_IDENTITY Attach() {
        InitialiseSource();
        TW_IDENTITY id;
        std::memset(&id, 0xCC, sizeof id);
        EXPECT_EQ(DS_Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, &id), TWRC_SUCCESS);
        return id;
    }
};

TEST_F(IdentityTest, DefaultsWithoutProfileSection) {
    TW_IDENTITY id = Attach();
    EXPECT_EQ(TheSource.SourceState, 300);
    EXPECT_EQ(id.Id, 0u);
    EXPECT_EQ(id.Version.MajorNum, 1);
    EXPECT_EQ(id.Version.MinorNum, 0);
    EXPECT_EQ(id.Version.Language, TWLG_USA);
    EXPECT_EQ(id.Version.Country, TWCY_TAIWAN);
    EXPECT_STREQ(id.Version.Info, "V1.0");
    EXPECT_EQ(id.ProtocolMajor, 1);
    EXPECT_EQ(id.ProtocolMinor, 5);
    EXPECT_EQ(+id.SupportedGroups, DG_CONTROL | DG_IMAGE);
    EXPECT_STREQ(id.Manufacturer, "SCANNER");
    EXPECT_STREQ(id.ProductFamily, "A3 Flatbed Scanner");
    EXPECT_STREQ(id.ProductName, "A3 Flatbed Scanner");
}

TEST_F(IdentityTest, SolenneBrandPrefixesTheModelAsWritten) {
    SetProfile("KVTINFO_A3", "BRAND", "sOLENNE");
    TW_IDENTITY id = Attach();
    EXPECT_STREQ(id.Manufacturer, "sOLENNE");
    EXPECT_STREQ(id.ProductName, "sOLENNE A3 Flatbed Scanner");
    EXPECT_STREQ(id.ProductFamily, "sOLENNE A3 Flatbed Scanner");
}

TEST_F(IdentityTest, OtherBrandsLeaveTheModelAlone) {
    SetProfile("KVTINFO_A3", "BRAND", "Solennex");
    SetProfile("KVTINFO_A3", "1200", "Model Z");
    SetProfile("KVTINFO_A3", "SWVERSION", "V2.3");
    TW_IDENTITY id = Attach();
    EXPECT_STREQ(id.Manufacturer, "Solennex");
    EXPECT_STREQ(id.ProductName, "Model Z");
    EXPECT_STREQ(id.Version.Info, "V2.3");
}

TEST_F(IdentityTest, LongValuesAreCutAt33CharactersAndTerminated) {
    const std::string brand(60, 'B');
    SetProfile("KVTINFO_A3", "BRAND", brand);
    SetProfile("KVTINFO_A3", "1200", std::string(100, 'M'));
    SetProfile("KVTINFO_A3", "SWVERSION", std::string(40, 'V'));
    TW_IDENTITY id = Attach();
    EXPECT_EQ(std::string(id.Manufacturer), brand.substr(0, 33));
    EXPECT_EQ(std::string(id.ProductName), std::string(33, 'M'));
    EXPECT_EQ(std::string(id.Version.Info), std::string(33, 'V'));
    EXPECT_EQ(id.Manufacturer[33], '\0');
}

TEST_F(IdentityTest, LongSolenneBrandStillFitsTheField) {
    SetProfile("KVTINFO_A3", "BRAND", "SOLENNE");
    SetProfile("KVTINFO_A3", "1200", std::string(40, 'x'));
    TW_IDENTITY id = Attach();
    EXPECT_EQ(std::string(id.ProductName), ("SOLENNE " + std::string(40, 'x')).substr(0, 33));
}

TEST_F(IdentityTest, ThunkingServerIsRenamedOutOfTheWay) {
    const auto exe = windowsDir / "TWUNK_16.EXE";
    const auto old = windowsDir / "TWUNK_16.OLD";
    { std::FILE* f = std::fopen(exe.c_str(), "w"); std::fputs("new", f); std::fclose(f); }
    { std::FILE* f = std::fopen(old.c_str(), "w"); std::fputs("stale", f); std::fclose(f); }
    Attach();
    EXPECT_FALSE(std::filesystem::exists(exe));
    ASSERT_TRUE(std::filesystem::exists(old));
    EXPECT_EQ(std::filesystem::file_size(old), 3u);
}

TEST_F(IdentityTest, NoThunkingServerChangesNothing) {
    Attach();
    EXPECT_FALSE(std::filesystem::exists(windowsDir / "TWUNK_16.OLD"));
}

}  // namespace
