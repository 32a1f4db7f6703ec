// The enhancement tabs' pictures: the region cut out of the prescan image, its fit to the
// Sample box, the aspect of the boxes, and the histogram of the region.
#include <gtest/gtest.h>

#include <numeric>

#include "platform/host/host_control.h"
#include "tests/unit/preview_image/test_images.h"
#include "window/histogram_counts.h"
#include "window/original_sample.h"

namespace {

// Every pixel names its place: red the column, green the row from the top.
Rgb Place(uint32_t x, uint32_t y) { return {uint8_t(x), uint8_t(y), 9}; }

// The low-density preview of the A3 bed: 351 pixels for 11.7 inches.
constexpr double kInch = 11.7 / 351;

class Original : public ::testing::Test {
protected:
    void SetUp() override { plat::host::Reset(); }
    void TearDown() override {
        FreePreviewBitmap(image);
        FreePreviewBitmap(cut);
        FreeSampleImages(sample);
        EXPECT_EQ(plat::host::LiveBlocks(), 0u);
    }
    PreviewBitmap image, cut;
    SampleImages sample;
};

TEST_F(Original, IsTheRegionCutOutOfTheImageTheRightWayUp) {
    image = MakeImage(351, 510, Place);
    // 31 x (11.7 / 351) x 30 is 30.999999999999996 in doubles: still column 31.
    const PrescanRect part = RegionInPrescanPixels({31, 62, 36, 69}, 351, 510, kInch, kInch);
    ASSERT_TRUE(CutOriginal(image, part, cut));
    ASSERT_EQ(cut.width, 5u);
    ASSERT_EQ(cut.height, 7u);
    for (uint32_t y = 0; y < 7; ++y)
        for (uint32_t x = 0; x < 5; ++x) EXPECT_EQ(ReadPixel(cut, x, y), Place(31 + x, 62 + y));
    // High density (wider than 400): every coordinate doubled.
    const PrescanRect high = RegionInPrescanPixels({10, 20, 40, 30}, 702, 1020, kInch, kInch);
    EXPECT_EQ(high.left + high.top + high.width + high.height, 20u + 40 + 60 + 20);
}

TEST_F(Original, ARegionOfNoWidthOrPastTheImageStillCutsInsideIt) {
    image = MakeImage(351, 510, Place);
    const PrescanRect line = RegionInPrescanPixels({40, 50, 40, 60}, 351, 510, kInch, kInch);
    ASSERT_TRUE(CutOriginal(image, line, cut));
    EXPECT_EQ(cut.width, 1u);
    EXPECT_EQ(cut.height, 10u);
    EXPECT_EQ(ReadPixel(cut, 0, 0), Place(40, 50));
    // Drawn backwards and beyond every edge.
    const PrescanRect r = RegionInPrescanPixels({900, 600, 300, -50}, 351, 510, kInch, kInch);
    EXPECT_EQ(r.left + r.width, 351u);
    EXPECT_EQ(r.top + r.height, 510u);
    EXPECT_EQ(RegionInPrescanPixels({500, 700, 500, 700}, 351, 510, kInch, kInch).left, 350u);
    PreviewBitmap none;
    EXPECT_FALSE(CutOriginal(image, PrescanRect{348, 0, 5, 1}, none));
}

TEST_F(Original, TheSampleIsTheOriginalOrItsNearestNeighboursAtTheBoxSize) {
    image = MakeImage(9, 5, Place);
    const PrescanRect whole{0, 0, 9, 5};
    ASSERT_TRUE(MakeSampleImages(image, whole, 10, 6, sample));  // larger both ways: as it is
    EXPECT_EQ(sample.sample.width, 9u);
    EXPECT_EQ(ReadPixel(sample.working, 8, 4), Place(8, 4));
    ASSERT_TRUE(MakeSampleImages(image, whole, 5, 6, sample));  // exactly the box
    ASSERT_EQ(sample.sample.width, 5u);
    ASSERT_EQ(sample.sample.height, 6u);
    EXPECT_EQ(ReadPixel(sample.sample, 0, 0), Place(0, 0));  // corners on corners
    EXPECT_EQ(ReadPixel(sample.sample, 4, 5), Place(8, 4));
    EXPECT_EQ(ReadPixel(sample.sample, 2, 0).r, 4);
    ASSERT_TRUE(MakeSampleImages(image, whole, 1, 1, sample));  // no division by zero
    EXPECT_EQ(ReadPixel(sample.sample, 0, 0).r, 0);
    // Short of memory at the Original, the Sample or its working copy: the last ones stay.
    for (unsigned failing = 1; failing <= 3; ++failing) {
        plat::host::FailAllocationAt(failing);
        EXPECT_FALSE(MakeSampleImages(image, PrescanRect{1, 1, 3, 3}, 2, 2, sample));
        EXPECT_EQ(sample.working.width, 1u);
    }
    plat::host::FailAllocationAt(0);
}

TEST(FitRegionInBox, KeepsTheRegionsAspectInsideTheBox) {
    EXPECT_EQ(FitRegionInBox(100, 50, 80, 80).height, 40);
    EXPECT_EQ(FitRegionInBox(50, 100, 80, 80).width, 40);
    EXPECT_EQ(FitRegionInBox(0, 10, 80, 60).height, 60);  // an empty side counts as 1
}

TEST_F(Original, HistogramCountsEachComponentAndTheMeanOfTheRegion) {
    image = MakeImage(6, 4, [](uint32_t x, uint32_t y) {
        return x < 3 && y < 2 ? Rgb{10, 20, 31} : Rgb{255, 0, 1};
    });
    HistogramCounts counts;
    // 12 pixels: (10, 20, 31) at columns 1 and 2 of rows 0 and 1, the rest (255, 0, 1).
    ASSERT_TRUE(CountHistogram(image, PrescanRect{1, 0, 4, 3}, counts));
    EXPECT_EQ(counts.mean[20], 4u);  // 61 / 3
    EXPECT_EQ(counts.red[10] + counts.green[20] + counts.blue[31], 12u);
    EXPECT_EQ(counts.mean[85], 8u);  // 256 / 3
    for (const uint32_t* channel : {counts.red, counts.green, counts.blue, counts.mean})
        EXPECT_EQ(std::accumulate(channel, channel + 256, 0u), 12u);
    EXPECT_FALSE(CountHistogram(image, PrescanRect{4, 0, 3, 1}, counts));
}

}  // namespace
