// Unique temporary names: dir + "\" + three letters of the prefix + four hex digits + ".TMP".
#include <cctype>
#include <cstdio>
#include <set>
#include <string>

#include "tests/unit/platform/platform_fixture.h"

namespace {

// "<dir>\COR" + four upper-case hex digits + ".TMP"
bool IsCorvaneTempName(const std::string& name, const std::string& dir) {
    const std::string head = dir + "\\COR";
    if (name.size() != head.size() + 8 || name.compare(0, head.size(), head) != 0) return false;
    for (size_t i = head.size(); i < head.size() + 4; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i])) && (name[i] < 'A' || name[i] > 'F'))
            return false;
    return name.compare(name.size() - 4, 4, ".TMP") == 0;
}

using TempNames = PlatformTest;

TEST_F(TempNames, UsesThreeLettersOfThePrefixAndCreatesTheFile) {
    char name[260];
    uint32_t n = plat::TempFileName(tempDir.c_str(), "CORVANE", 0, name);
    ASSERT_NE(n, 0u);
    const std::string text = name;
    EXPECT_TRUE(IsCorvaneTempName(text, tempDir)) << text;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", n);
    EXPECT_EQ(text.substr(text.size() - 8, 4), hex);  // the number returned is in the name
    EXPECT_EQ(plat::FileSize(name), 0);
}

TEST_F(TempNames, EachCallReservesANewNameAndSkipsTakenOnes) {
    char name[260];
    std::set<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(plat::TempFileName(tempDir.c_str(), "CORVANE", 0, name), 0u);
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 3u);
    // A name someone else holds is passed over.
    plat::host::Reset();
    plat::host::SetTempDirectory(tempDir);
    scratch.WriteFile("temp/COR0004.TMP", "taken");
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(plat::TempFileName(tempDir.c_str(), "CORVANE", 0, name), 0u);
        EXPECT_EQ(seen.count(name), 0u) << name;
        EXPECT_STRNE(name, (tempDir + "\\COR0004.TMP").c_str());
    }
    EXPECT_EQ(scratch.ReadFile("temp/COR0004.TMP"), "taken");
}

TEST_F(TempNames, AGivenNumberOnlyFormsTheName) {
    char name[260];
    EXPECT_EQ(plat::TempFileName(tempDir.c_str(), "CO", 0x1a, name), 0x1au);
    EXPECT_EQ(std::string(name), tempDir + "\\CO001A.TMP");
    EXPECT_FALSE(plat::FileExists(name));
    EXPECT_EQ(plat::TempFileName(tempDir.c_str(), "", 0x12345, name), 0x2345u);  // low 16 bits
    EXPECT_EQ(std::string(name), tempDir + "\\2345.TMP");
}

TEST_F(TempNames, TheTempPathsTrailingSeparatorIsNotDoubled) {
    char dir[260];
    plat::TempPath(dir, sizeof dir);
    char name[260];
    ASSERT_NE(plat::TempFileName(dir, "CORVANE", 0, name), 0u);
    EXPECT_EQ(std::string(name).substr(0, tempDir.size() + 4), tempDir + "/COR");
}

TEST_F(TempNames, FailsInAMissingFolder) {
    char name[260];
    EXPECT_EQ(plat::TempFileName((tempDir + "\\absent").c_str(), "CORVANE", 0, name), 0u);
}

}  // namespace
