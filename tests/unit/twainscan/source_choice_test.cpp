#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tools/twainscan/source_choice.h"

using namespace twainscan;

namespace {

TW_IDENTITY Named(const char* productName) {
    TW_IDENTITY id{};
    std::strncpy(id.ProductName, productName, sizeof id.ProductName - 1);
    return id;
}

}  // namespace

TEST(TwainscanSourceChoice, DefaultPicksOursByNameWhereverItIsListed) {
    std::vector<TW_IDENTITY> list = {Named("GPhoto2 Camera"), Named("Other Scanner"),
                                     Named("sOLENNE A3 Flatbed Scanner")};
    SourceChoice c = ChooseSource(list, "");
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(c.index, 2u);
    list.insert(list.begin(), list[2]);
    list.pop_back();
    EXPECT_EQ(ChooseSource(list, "").index, 0u);
}

TEST(TwainscanSourceChoice, ExactNameIsCaseSensitiveAndWhole) {
    std::vector<TW_IDENTITY> list = {Named("sOLENNE A3 Flatbed Scanner"), Named("GPhoto2 Camera")};
    EXPECT_FALSE(ChooseSource(list, "A3 Flatbed Scanner").ok);
    EXPECT_FALSE(ChooseSource(list, "gphoto2 camera").ok);
    SourceChoice c = ChooseSource(list, "GPhoto2 Camera");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.index, 1u);
}

TEST(TwainscanSourceChoice, NoneOrSeveralMatchingIsAnError) {
    SourceChoice none = ChooseSource({Named("GPhoto2 Camera")}, "");
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.error.find("A3 Flatbed Scanner"), std::string::npos);
    EXPECT_FALSE(ChooseSource({}, "").ok);

    SourceChoice two =
        ChooseSource({Named("A3 Flatbed Scanner"), Named("Wide A3 Flatbed Scanner")}, "");
    EXPECT_FALSE(two.ok);
    EXPECT_NE(two.error.find("--source"), std::string::npos);
}

TEST(TwainscanSourceChoice, NameFillingTheWholeFieldIsReadWithoutItsZero) {
    TW_IDENTITY full{};
    const char name[] = "Sixteen chars.. A3 Flatbed Scanner";  // 34 characters
    static_assert(sizeof name - 1 == sizeof full.ProductName);
    std::memcpy(full.ProductName, name, sizeof full.ProductName);
    // In the list the next identity follows at once; reading past the field would see its Id.
    TW_IDENTITY next = Named("GPhoto2 Camera");
    next.Id = 0x41414141;
    SourceChoice c = ChooseSource({full, next}, "");
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(c.index, 0u);
}
