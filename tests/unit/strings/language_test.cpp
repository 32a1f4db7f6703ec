// The interface language: which profile values name which language, where each language's
// block of the string table starts, and what the settings writer stores for it.
#include <gtest/gtest.h>

#include "platform/host/host_control.h"
#include "settings/language.h"

namespace {

TEST(Language, ProfileValuesSelectTheirBlockAndAreWrittenBack) {
    const char* values[] = {"English", "Deutsch",    "Francais", "Italiano",
                            "Espanol", "Nederlands", "Chinese",  "Simple"};
    for (uint16_t i = 0; i < kLanguageCount; ++i) {
        EXPECT_EQ(LanguageIndexFromProfile(values[i]), i) << values[i];
        EXPECT_EQ(LanguageStringBase(i), i * 1000) << values[i];
        // What the settings writer stores for the wide bed reads back as the same language.
        EXPECT_STREQ(LanguageProfileValue(i, false), values[i]);
    }
}

TEST(Language, UnknownValueOrIndexMeansEnglish) {
    for (const char* value : {"German", "deutsch", "DEUTSCH", "Chinese Simplified", "", "7"})
        EXPECT_EQ(LanguageIndexFromProfile(value), 0) << value;
    EXPECT_EQ(LanguageIndexFromProfile(nullptr), 0);
    for (int index : {-1, 8, 1000}) {
        EXPECT_EQ(LanguageStringBase(index), 0) << index;
        EXPECT_STREQ(LanguageProfileValue(index, false), "English") << index;
        EXPECT_STREQ(LanguageProfileValue(index, true), "English") << index;
    }
}

TEST(Language, NarrowBedSectionSpellsLanguagesInEnglish) {
    const char* expected[] = {"English", "German", "French",  "Italian",
                              "Spanish", "Dutch",  "Chinese", "Simple"};
    for (int i = 0; i < kLanguageCount; ++i)
        EXPECT_STREQ(LanguageProfileValue(i, true), expected[i]) << i;
}

class ProfileLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        plat::host::Reset();
        plat::host::SetWindowsDirectory(scratch.Subdirectory("windows"));
    }
    void TearDown() override { plat::host::Reset(); }
    void WriteWinIni(const std::string& text) { scratch.WriteFile("windows/win.ini", text); }

    plat::host::ScratchDirectory scratch;
};

TEST_F(ProfileLanguage, MissingKeyIsEnglish) { EXPECT_EQ(ReadProfileLanguage(), 0); }

TEST_F(ProfileLanguage, ReadsOnlyTheWideBedSection) {
    WriteWinIni("[KVTINFO_SP]\nLANGUAGE=Nederlands\n[KVTINFO_A3]\nLANGUAGE=Simple\n");
    EXPECT_EQ(ReadProfileLanguage(), 7);
    WriteWinIni("[KVTINFO_SP]\nLANGUAGE=Nederlands\n");
    EXPECT_EQ(ReadProfileLanguage(), 0);
}

}  // namespace
