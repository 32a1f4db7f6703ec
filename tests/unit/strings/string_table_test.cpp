// The data source's string table as the code reads it: every language block complete, the
// English texts that messages are composed of, the texts that must not differ between
// languages, and the Chinese blocks in the code pages a Chinese system would give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/strings/string_table.h"
#include "settings/language.h"

namespace {

std::vector<uint32_t> EnglishNumbers() {
    std::vector<uint32_t> numbers;
    for (size_t i = 0; i < kvres::kSourceStrings.count; ++i)
        if (kvres::kSourceStrings.entries[i].id < kLanguageBlockSize)
            numbers.push_back(kvres::kSourceStrings.entries[i].id);
    return numbers;
}

TEST(StringTable, EveryBlockHoldsExactlyTheNumbersOfTheEnglishBlock) {
    const std::vector<uint32_t> numbers = EnglishNumbers();
    ASSERT_GT(numbers.size(), 150u);
    for (uint32_t n : numbers)
        for (int language = 1; language < kLanguageCount; ++language)
            EXPECT_FALSE(LoadLanguageString(LanguageStringBase(language), n).empty())
                << "string " << n << " of language " << language;
    for (size_t i = 0; i < kvres::kSourceStrings.count; ++i) {
        const uint32_t id = kvres::kSourceStrings.entries[i].id;
        EXPECT_LT(id, kLanguageCount * kLanguageBlockSize);
        EXPECT_FALSE(LoadSourceString(id % kLanguageBlockSize).empty())
            << "id " << id << " has no English original";
    }
}

// The texts of every message box, and the strings the code compares or appends, by number.
TEST(StringTable, MessageStringsExistInEveryLanguage) {
    std::vector<uint32_t> used = {62, 65, 66, 204, 510, 705, 846};
    for (uint32_t n = 604; n <= 636; ++n)
        if (n != 614 && n != 615) used.push_back(n);
    for (uint32_t n = 827; n <= 837; ++n) used.push_back(n);
    for (uint32_t n : used)
        for (int language = 0; language < kLanguageCount; ++language)
            EXPECT_FALSE(LoadLanguageString(LanguageStringBase(language), n).empty())
                << "string " << n << " of language " << language;
}

TEST(StringTable, EnglishTextsAreExactlyTheOnesMessagesAreBuiltFrom) {
    const struct {
        uint32_t id;
        const char* text;
    } expected[] = {
        {604, " Insufficient Memory."},
        {605, "The new image requires "},
        {606, " bytes of unused diskspace.Your disk has only "},
        {607, " bytes of unused diskspace. Free up some space on the disk."},
        {608, "Flatbed Scanner not ready."},
        {609, "Flatbed Scanner not found."},
        {610, " Please make sure :"},
        {611, " 1. The scanner is turned on and power LED is green."},
        {612, " 2. The cables are connected."},
        {613, " 3. That you turned on the scanner before you turned on the computer."},
        {616, " Invalid file name ! "},
        {619, "Write disk file error."},
        {620, " Paper Jammed in Automatic Document Feeder"},
        {621, " No Paper in Automatic Document Feeder"},
        {622, " Slide Scanner Cover not Closed!"},
        {623, " This Twain Data Source does not match with Scanner!"},
        {627, "Shading correction fail."},
        {628, "Transferring is failure."},
        {629, "Scanner is not operating normally! Please restart the scanner."},
        {630, "The Application buffers are not enough for transfering"},
        {631, " your image width. You should downsize the image width "},
        {632, "or resolution."},
        {204, ".TIF"},
        {65, "Adaptec Card"},
        {62, "Microsoft Publisher"},
        {66, "Micrografx Picture Publisher"},
        {829, "The owner is: "},
        {830, "The IP_address is: "},
        {833, "You have to wait for a few more minutes to allow scanner disconnecting from "
              "another user to close Relaynor "},
        {834, "because your local scanner is connected by another user while Relaynor is "
              "active."},
        {835, "If not, please run Relaynor and close it."},
        {836, "There is no remote scanner!"},
        {837, "Some errors occured to the remote scanner!"},
        {503, " ESC to abort!"},
        {501, " Prescanning...     "},
    };
    for (const auto& e : expected) EXPECT_EQ(LoadSourceString(e.id), e.text) << "string " << e.id;
}

// Names compared with an application's product name, and values the code parses, must read
// the same whatever the interface language is.
TEST(StringTable, NamesAndValuesAreTheSameInEveryLanguage) {
    const uint32_t same[] = {55, 56, 60, 62, 64, 65, 66, 707, 212, 213, 214, 215, 216,
                             217, 218, 219, 220, 221, 222};
    for (uint32_t n : same)
        for (int language = 1; language < kLanguageCount; ++language)
            EXPECT_EQ(LoadLanguageString(LanguageStringBase(language), n), LoadSourceString(n))
                << "string " << n << " of language " << language;
}

TEST(StringTable, GermanMessageIsStringOfTheGermanBlock) {
    const std::string german = LoadLanguageString(LanguageStringBase(1), 619);
    EXPECT_EQ(german, LoadSourceString(1619));
    EXPECT_FALSE(german.empty());
    EXPECT_NE(german, LoadSourceString(619));
    // The host keeps the Western blocks in UTF-8.
    EXPECT_EQ(LoadSourceString(1200), "Gr\xC3\xBCn");
}

TEST(StringTable, OnlyTheDutchExtensionHasATrailingBlank) {
    for (int language = 0; language < kLanguageCount; ++language)
        EXPECT_EQ(LoadLanguageString(LanguageStringBase(language), 204),
                  language == 5 ? ".TIF " : ".TIF")
            << "language " << language;
}

// A double-byte code page text: every byte of 0x80 or more is a lead byte in leadLo..0xFE
// followed by a trail byte that the code page allows.
bool IsDoubleByteText(const std::string& s, uint8_t leadLo, bool (*trailOk)(uint8_t)) {
    for (size_t i = 0; i < s.size(); ++i) {
        const uint8_t b = uint8_t(s[i]);
        if (b < 0x80) continue;
        if (b < leadLo || b == 0xFF || i + 1 == s.size() || !trailOk(uint8_t(s[i + 1])))
            return false;
        ++i;
    }
    return true;
}
bool Big5Trail(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE); }
bool Gb2312Trail(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }

TEST(StringTable, ChineseBlocksHoldBig5AndGb2312Bytes) {
    for (uint32_t n : EnglishNumbers()) {
        EXPECT_TRUE(IsDoubleByteText(LoadSourceString(6000 + n), 0x81, Big5Trail)) << n;
        EXPECT_TRUE(IsDoubleByteText(LoadSourceString(7000 + n), 0xA1, Gb2312Trail)) << n;
    }
    // "Attention" is the same two characters in both scripts, in two different encodings.
    EXPECT_EQ(LoadSourceString(6636), "\xAA\x60\xB7\x4E");
    EXPECT_EQ(LoadSourceString(7636), "\xD7\xA2\xD2\xE2");
}

}  // namespace
