// Writing profile strings: new files, sections and keys are created as the system writes
// them, and an edit leaves every other byte of the file as it was.
#include <fstream>
#include <string>

#include "tests/unit/platform/platform_fixture.h"

namespace {

std::string Read(const char* section, const char* key, const char* def = "D") {
    char out[64];
    plat::GetProfileString(section, key, def, out, sizeof out);
    return out;
}

using ProfileWrite = PlatformTest;

TEST_F(ProfileWrite, CreatesFileSectionsAndKeysWithCrLf) {
    EXPECT_TRUE(plat::WriteProfileString("Alpha", "one", "1"));
    EXPECT_TRUE(plat::WriteProfileString("Alpha", "two", "2"));
    EXPECT_TRUE(plat::WriteProfileString("Beta", "x", "255  0    "));
    EXPECT_EQ(WinIni(), "[Alpha]\r\none=1\r\ntwo=2\r\n[Beta]\r\nx=255  0    \r\n");
    EXPECT_EQ(Read("Beta", "x"), "255  0");  // the "%-5d" padding is not read back
}

TEST_F(ProfileWrite, ReplacesInPlaceKeepingEverythingElse) {
    const std::string before =
        "; settings\n[Alpha]\n  One = 1 \n\n; keep me\nTwo=2\n[Beta]\nx=1\n";
    WriteWinIni(before);
    EXPECT_TRUE(plat::WriteProfileString("ALPHA", "one", "111"));
    EXPECT_EQ(WinIni(), "; settings\n[Alpha]\nOne=111\n\n; keep me\nTwo=2\n[Beta]\nx=1\n");
    EXPECT_EQ(Read("alpha", "ONE"), "111");
}

TEST_F(ProfileWrite, NewKeyGoesAtTheEndOfItsSectionBeforeBlankLines) {
    WriteWinIni("[Alpha]\r\none=1\r\n\r\n[Beta]\r\nx=1");
    EXPECT_TRUE(plat::WriteProfileString("alpha", "two", "2"));
    EXPECT_TRUE(plat::WriteProfileString("Beta", "y", "2"));
    EXPECT_EQ(WinIni(), "[Alpha]\r\none=1\r\ntwo=2\r\n\r\n[Beta]\r\nx=1\r\ny=2\r\n");
}

TEST_F(ProfileWrite, FollowsTheFilesLineEnds) {
    WriteWinIni("[Alpha]\none=1\n");
    EXPECT_TRUE(plat::WriteProfileString("Gamma", "g", "7"));
    EXPECT_EQ(WinIni(), "[Alpha]\none=1\n[Gamma]\ng=7\n");
}

TEST_F(ProfileWrite, NullValueDeletesKeyAndNullKeyDeletesSection) {
    WriteWinIni("[Alpha]\r\none=1\r\ntwo=2\r\n[Beta]\r\nx=1\r\n[Gamma]\r\ng=1\r\n");
    EXPECT_TRUE(plat::WriteProfileString("Alpha", "two", nullptr));
    EXPECT_EQ(Read("Alpha", "two", "gone"), "gone");
    EXPECT_TRUE(plat::WriteProfileString("beta", nullptr, nullptr));
    EXPECT_EQ(WinIni(), "[Alpha]\r\none=1\r\n[Gamma]\r\ng=1\r\n");
    // Deleting what is not there succeeds and changes nothing.
    EXPECT_TRUE(plat::WriteProfileString("Nope", "k", nullptr));
    EXPECT_TRUE(plat::WriteProfileString("Nope", nullptr, nullptr));
    EXPECT_EQ(WinIni(), "[Alpha]\r\none=1\r\n[Gamma]\r\ng=1\r\n");
}

TEST_F(ProfileWrite, DeletingFromAMissingFileDoesNotCreateIt) {
    EXPECT_TRUE(plat::WriteProfileString("Alpha", "one", nullptr));
    EXPECT_FALSE(plat::FileExists(plat::host::WinIniPath().c_str()));
}

TEST_F(ProfileWrite, RefusesEmptySectionsLineBreaksAndMissingFolders) {
    WriteWinIni("[Alpha]\r\none=1\r\n");
    EXPECT_FALSE(plat::WriteProfileString("", "k", "v"));
    EXPECT_FALSE(plat::WriteProfileString(nullptr, "k", "v"));
    EXPECT_FALSE(plat::WriteProfileString("Alpha", "k", "v\r\n[Evil]"));
    EXPECT_EQ(WinIni(), "[Alpha]\r\none=1\r\n");
    EXPECT_FALSE(plat::WritePrivateProfileString("S", "k", "v",
                                                 (scratch.path() + "\\no\\such.ini").c_str()));
}

TEST_F(ProfileWrite, PrivateProfileRoundTrip) {
    const std::string path = scratch.path() + "\\job.set";
    EXPECT_TRUE(plat::WritePrivateProfileString("Job 1", "CustomRes", "75   150  0    0    0    ",
                                                path.c_str()));
    char out[26];
    EXPECT_EQ(plat::GetPrivateProfileString("job 1", "customres", "    0    0    0    0    0",
                                            out, sizeof out, path.c_str()),
              21u);
    EXPECT_STREQ(out, "75   150  0    0    0");
}

}  // namespace
