// Reading profile strings. The expected texts were measured with GetPrivateProfileStringA
// under Wine 8 on the same file contents; the settings code depends on them byte for byte.
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/unit/platform/platform_fixture.h"

namespace {

struct Result {
    uint32_t count;
    std::string text;
};

// Reads through a buffer of `size` usable bytes inside a larger one pre-filled with '#', and
// checks that nothing beyond size bytes was touched and that count matches the text.
Result Read(const char* section, const char* key, const char* def, uint32_t size = 64) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    uint32_t count = plat::GetProfileString(section, key, def, buffer, size);
    for (size_t i = size; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << "byte " << i;
    if (size == 0) return {count, std::string()};
    EXPECT_EQ(count, std::strlen(buffer));
    return {count, buffer};
}

std::string Text(const char* section, const char* key, const char* def = "D",
                 uint32_t size = 64) {
    return Read(section, key, def, size).text;
}

const char* const kSample =
    "lead=before\r\n"
    "[Sec]\r\n"
    "plain=abc\r\n"
    "  spaced  =   v a l  \t\r\n"
    "dq=\"quoted\"\r\n"
    "sq='single'\r\n"
    "mixed=\"abc'\r\n"
    "onlyq=\"\r\n"
    "emptyq=\"\"\r\n"
    "inner=\" 12 \"\r\n"
    "noeq\r\n"
    "empty=\r\n"
    "eqs=a=b\r\n"
    "; comment=zzz\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "long=abcdefghij\r\n"
    "qlong=\"abcdefgh\"\r\n"
    "[sec]\r\n"
    "other=insecond\r\n"
    "[ Spc ]\r\n"
    "k=spc\r\n"
    "[Hdr] junk\r\n"
    "k=hdr\r\n"
    "[Lf]\n"
    "k=lf\n"
    "[NoEnd]\n"
    "k=last";

class ProfileRead : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        WriteWinIni(kSample);
    }
};

TEST_F(ProfileRead, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
    EXPECT_EQ(Text("Sec", "plain"), "abc");
    EXPECT_EQ(Text("Sec", "spaced"), "v a l");
    EXPECT_EQ(Text("Sec", "dq"), "quoted");
    EXPECT_EQ(Text("Sec", "sq"), "single");
    EXPECT_EQ(Text("Sec", "mixed"), "\"abc'");  // quotes must match to be removed
    EXPECT_EQ(Text("Sec", "onlyq"), "\"");      // a lone quote is text
    EXPECT_EQ(Text("Sec", "emptyq"), "");
    EXPECT_EQ(Text("Sec", "inner"), " 12 ");    // blanks inside the quotes stay
    EXPECT_EQ(Text("Sec", "eqs"), "a=b");       // only the first '=' separates
    EXPECT_EQ(Text("Sec", "empty"), "");        // present but empty is not missing
}

TEST_F(ProfileRead, KeyLineWithoutEqualsSignGivesTheDefault) {
    EXPECT_EQ(Text("Sec", "noeq", "dflt"), "dflt");
}

TEST_F(ProfileRead, SemicolonLinesAreOrdinaryLinesToTheSystem) {
    // Nothing looks up such a name in practice; what matters is that it hides no real key.
    EXPECT_EQ(Text("Sec", "; comment"), "zzz");
    EXPECT_EQ(Text("Sec", "dup"), "first");
}

TEST_F(ProfileRead, NamesCompareWithoutCaseAndBlanks) {
    EXPECT_EQ(Text("SEC", "PLAIN"), "abc");
    EXPECT_EQ(Text(" Sec ", " plain "), "abc");
    EXPECT_EQ(Text("Spc", "k"), "spc");  // "[ Spc ]"
    EXPECT_EQ(Text("Hdr", "k"), "hdr");  // text after ']' is ignored
}

TEST_F(ProfileRead, FirstMatchingSectionAndKeyWin) {
    EXPECT_EQ(Text("Sec", "dup"), "first");             // "DUP=second" comes later
    EXPECT_EQ(Text("sec", "other", "dflt"), "dflt");    // only the first [Sec] is searched
}

TEST_F(ProfileRead, LineEndsOfEitherKindAndNoneAtTheEnd) {
    EXPECT_EQ(Text("Lf", "k"), "lf");
    EXPECT_EQ(Text("NoEnd", "k"), "last");
}

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Text("Sec", "nokey", "dflt"), "dflt");
    EXPECT_EQ(Text("NoSec", "plain", "dflt"), "dflt");
    plat::host::SetWindowsDirectory(scratch.Subdirectory("empty"));
    EXPECT_EQ(Text("Sec", "plain", "dflt"), "dflt");
}

TEST_F(ProfileRead, EmptySectionNameMatchesNothingNotEvenLeadingKeys) {
    // The system itself would find "lead" here; the settings reset relies on defaults.
    EXPECT_EQ(Text("", "lead", "dflt"), "dflt");
    EXPECT_EQ(Text("  ", "lead", "dflt"), "dflt");
    EXPECT_EQ(Text(nullptr, "plain", "dflt"), "dflt");
    EXPECT_EQ(Text("Sec", nullptr, "dflt"), "dflt");
}

TEST_F(ProfileRead, DefaultsLoseTrailingSpacesOnly) {
    EXPECT_EQ(Read("NoSec", "k", "  255").text, "  255");  // right-aligned defaults survive
    EXPECT_EQ(Read("NoSec", "k", "  255").count, 5u);
    EXPECT_EQ(Text("NoSec", "k", "abc   "), "abc");
    EXPECT_EQ(Text("NoSec", "k", "     "), " ");  // the first character always stays
    EXPECT_EQ(Text("NoSec", "k", "a\t"), "a\t");  // tabs are not stripped
    EXPECT_EQ(Text("NoSec", "k", "\"q\""), "q");   // quotes go as in values
    EXPECT_EQ(Text("NoSec", "k", ""), "");
    EXPECT_EQ(Read("NoSec", "k", nullptr).count, 0u);
}

TEST_F(ProfileRead, CopiesAtMostSizeMinusOneCharacters) {
    EXPECT_EQ(Read("Sec", "long", "D", 4).text, "abc");
    EXPECT_EQ(Read("Sec", "long", "D", 4).count, 3u);
    EXPECT_EQ(Read("Sec", "long", "D", 1).text, "");
    EXPECT_EQ(Read("Sec", "long", "D", 0).count, 0u);  // and writes nothing (checked in Read)
    EXPECT_EQ(Read("NoSec", "k", "abcdef", 4).text, "abc");
}

TEST_F(ProfileRead, QuotedValueCutOneShortWhenOnlyTheClosingQuoteDoesNotFit) {
    // qlong="abcdefgh": the system drops the closing quote after copying, so a buffer of 9
    // (room for the 8 letters) still loses the last letter.
    EXPECT_EQ(Text("Sec", "qlong", "D", 4), "abc");
    EXPECT_EQ(Text("Sec", "qlong", "D", 8), "abcdefg");
    EXPECT_EQ(Text("Sec", "qlong", "D", 9), "abcdefg");
    EXPECT_EQ(Text("Sec", "qlong", "D", 10), "abcdefgh");
}

// Lists are fixed-width fields: written "%-5d" (left-aligned), defaulted right-aligned, and
// both read back by converting at offsets 0, 5, 10, ...
TEST_F(ProfileRead, FixedWidthFieldsReadTheSameLeftOrRightAligned) {
    WriteWinIni("[KVT-4100PRO]\r\nHighlight=200  0    18   255  \r\nFrame=78  81  150 145 \r\n");
    auto fields = [](const std::string& text, size_t width, size_t n) {
        std::string out;
        for (size_t i = 0; i < n; ++i) {
            const char* at = i * width < text.size() ? text.c_str() + i * width : "";
            out += std::to_string(std::atoi(at)) + (i + 1 < n ? "," : "");
        }
        return out;
    };
    std::string saved = Text("KVT-4100PRO", "Highlight", "  255  255  255  255", 21);
    EXPECT_EQ(saved, "200  0    18   255");
    EXPECT_EQ(fields(saved, 5, 4), "200,0,18,255");
    std::string def = Text("KVT-4300PRO", "Highlight", "  255  255  255  255", 21);
    EXPECT_EQ(fields(def, 5, 4), "255,255,255,255");
    EXPECT_EQ(fields(Text("KVT-4100PRO", "Frame", "  78  81 150 145", 17), 4, 4),
              "78,81,150,145");
    EXPECT_EQ(fields(Text("KVT-4300PRO", "Frame", "  78  81 150 145", 17), 4, 4),
              "78,81,150,145");
}

TEST_F(ProfileRead, PrivateProfilesUseTheNamedFileOrTheWindowsDirectory) {
    scratch.WriteFile("sets/a.par", "[Scan]\nScanRes=600\n");
    std::string path = scratch.path() + "\\sets\\a.par";
    char out[16];
    EXPECT_EQ(plat::GetPrivateProfileString("scan", "scanres", "0", out, sizeof out, path.c_str()),
              3u);
    EXPECT_STREQ(out, "600");
    // A bare file name is looked for in the Windows directory.
    scratch.WriteFile("windows/b.ini", "[S]\nk=win\n");
    EXPECT_EQ(plat::GetPrivateProfileString("S", "k", "", out, sizeof out, "b.ini"), 3u);
    EXPECT_STREQ(out, "win");
    EXPECT_EQ(plat::GetPrivateProfileString("S", "k", "none", out, sizeof out, nullptr), 4u);
}

}  // namespace
