// Loading a string the way LoadStringA does: missing ids, short and empty buffers, and cuts
// that must never fall inside a character.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "settings/language.h"

namespace {

TEST(StringLoading, MissingIdGivesEmptyTextAndZero) {
    for (uint32_t id : {0u, 999u, 1999u, 8000u, 65535u, 70604u}) {
        char out[16];
        std::memset(out, 'x', sizeof out);
        EXPECT_EQ(plat::LoadResourceString(id, out, sizeof out), 0u) << id;
        EXPECT_STREQ(out, "") << id;
        EXPECT_EQ(LoadSourceString(id), "") << id;
    }
}

TEST(StringLoading, BufferTooSmallKeepsSizeMinusOneCharacters) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(plat::LoadResourceString(604, out, 5), 4u);
    EXPECT_STREQ(out, " Ins");
    EXPECT_EQ(out[5], 'x');

    EXPECT_EQ(plat::LoadResourceString(604, out, 1), 0u);
    EXPECT_STREQ(out, "");

    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(plat::LoadResourceString(604, out, 0), 0u);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(plat::LoadResourceString(604, nullptr, 8), 0u);
}

TEST(StringLoading, CutNeverSplitsACharacter) {
    char out[32];
    // " 記憶體不足。" in Big5: a blank, then two bytes per character. Four bytes of room hold
    // the blank and one character; the second would need a fifth.
    const std::string big5 = LoadSourceString(6604);
    EXPECT_EQ(plat::LoadResourceString(6604, out, 5), 3u);
    EXPECT_EQ(std::string(out), big5.substr(0, 3));
    EXPECT_EQ(plat::LoadResourceString(6604, out, 6), 5u);
    EXPECT_EQ(std::string(out), big5.substr(0, 5));

    // " Nicht genügend ...": the u-umlaut takes bytes 10 and 11 in UTF-8.
    EXPECT_EQ(plat::LoadResourceString(1604, out, 12), 10u);
    EXPECT_STREQ(out, " Nicht gen");
    EXPECT_EQ(plat::LoadResourceString(1604, out, 13), 12u);
    EXPECT_STREQ(out, " Nicht gen\xC3\xBC");
}

}  // namespace
