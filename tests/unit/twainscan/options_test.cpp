#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/twainscan/options.h"

using namespace twainscan;

namespace {

ParseResult Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

}  // namespace

TEST(TwainscanOptions, FullAcquisitionCommandLineFillsEveryField) {
    ParseResult r = Parse({"--source", "sOLENNE A3 Flatbed Scanner", "--pixel", "gray", "--res",
                           "600", "--frame", "0.5,1,8.25,11.75", "--xfer", "file", "--format",
                           "bmp", "--out", "C:\\scans\\page one.bmp", "--showui", "--count",
                           "-1", "--app-name", "Bench App"});
    ASSERT_TRUE(r.ok) << r.error;
    const Options& o = r.options;
    EXPECT_EQ(o.sourceName, "sOLENNE A3 Flatbed Scanner");
    EXPECT_EQ(o.appName, "Bench App");
    EXPECT_EQ(o.pixel, PixelKind::Gray);
    EXPECT_EQ(o.resolution, 600);
    ASSERT_TRUE(o.frame);
    EXPECT_DOUBLE_EQ(o.frame->left, 0.5);
    EXPECT_DOUBLE_EQ(o.frame->top, 1.0);
    EXPECT_DOUBLE_EQ(o.frame->right, 8.25);
    EXPECT_DOUBLE_EQ(o.frame->bottom, 11.75);
    EXPECT_EQ(o.xfer, XferKind::File);
    EXPECT_EQ(o.format, FileFormat::Bmp);
    EXPECT_EQ(o.outPath, "C:\\scans\\page one.bmp");
    EXPECT_TRUE(o.showUI);
    EXPECT_EQ(o.count, -1);
    EXPECT_FALSE(o.list || o.identity || o.help);
}

TEST(TwainscanOptions, ManagerIsOneOfTheTwoLibrariesInAnyCase) {
    EXPECT_EQ(Parse({}).options.managerLibrary, "twain_32.dll");
    EXPECT_EQ(Parse({"--manager", "twaindsm.DLL"}).options.managerLibrary, "TWAINDSM.dll");
    for (const char* bad : {"C:\\windows\\twain_32.dll", "twaindsm", "sane.ds"}) {
        ParseResult r = Parse({"--manager", bad});
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_NE(r.error.find("--manager"), std::string::npos) << r.error;
    }
}

TEST(TwainscanOptions, LimitsAreInclusive) {
    const std::string name33(33, 'n');
    ParseResult r = Parse({"--res", "32767", "--count", "32767", "--source", name33});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.options.resolution, 32767);
    EXPECT_EQ(r.options.count, 32767);
    EXPECT_EQ(r.options.sourceName, name33);
    EXPECT_TRUE(Parse({"--res", "1", "--count", "1", "--frame", "0,0,0.01,0.01"}).ok);
}

TEST(TwainscanOptions, RejectsMalformedCommandLinesNamingTheOption) {
    struct Case {
        std::vector<std::string> args;
        const char* named;  // text the error must contain
    };
    const Case cases[] = {
        {{"--colour"}, "--colour"},
        {{"list"}, "\"list\""},
        {{"--source"}, "--source"},
        {{"--source", "--list"}, "--source"},  // an option is never taken as a value
        {{"--source", ""}, "--source"},
        {{"--source", std::string(34, 'x')}, "--source"},
        {{"--app-name", std::string(34, 'x')}, "--app-name"},
        {{"--pixel", "cmyk"}, "--pixel"},
        {{"--pixel", "RGB"}, "--pixel"},
        {{"--res", "0"}, "--res"},
        {{"--res", "32768"}, "--res"},
        {{"--res", "300dpi"}, "--res"},
        {{"--res", "-300"}, "--res"},
        {{"--res", "99999999999999999999"}, "--res"},
        {{"--frame", "0,0,8.5"}, "--frame"},
        {{"--frame", "0,0,8.5,11,1"}, "--frame"},
        {{"--frame", "0,0,8.5,"}, "--frame"},
        {{"--frame", "-1,0,8.5,11"}, "--frame"},
        {{"--frame", "8.5,0,8.5,11"}, "--frame"},  // empty width
        {{"--frame", "0,11,8.5,2"}, "--frame"},    // bottom above top
        {{"--frame", "0,0,inf,11"}, "--frame"},
        {{"--frame", "0,0,40000,11"}, "--frame"},
        {{"--xfer", "buffer"}, "--xfer"},
        {{"--format", "jpeg"}, "--format"},
        {{"--count", "0"}, "--count"},
        {{"--count", "-2"}, "--count"},
        {{"--list", "--list"}, "--list"},
        {{"--res", "300", "--res", "600"}, "--res"},
    };
    for (const Case& c : cases) {
        ParseResult r = ParseCommandLine(c.args);
        std::string shown;
        for (const std::string& a : c.args) shown += "[" + a + "] ";
        EXPECT_FALSE(r.ok) << shown;
        EXPECT_NE(r.error.find(c.named), std::string::npos) << shown << "-> " << r.error;
    }
}

TEST(TwainscanOptions, AcquiresUnlessOnlyListingWasAsked) {
    EXPECT_FALSE(WantsAcquisition(Parse({"--list"}).options));
    EXPECT_FALSE(WantsAcquisition(Parse({"--identity", "--source", "X"}).options));
    EXPECT_FALSE(WantsAcquisition(Parse({"--list", "--identity"}).options));
    EXPECT_TRUE(WantsAcquisition(Parse({}).options));
    EXPECT_TRUE(WantsAcquisition(Parse({"--source", "X"}).options));
    // Listing and an acquisition setting: both are done, listing first.
    EXPECT_TRUE(WantsAcquisition(Parse({"--identity", "--res", "300"}).options));
    EXPECT_TRUE(WantsAcquisition(Parse({"--list", "--showui"}).options));
}

TEST(TwainscanOptions, TransferSpecificOptionsNeedTheirTransfer) {
    EXPECT_TRUE(Parse({"--xfer", "file", "--format", "bmp"}).ok);
    EXPECT_TRUE(Parse({"--xfer", "memory", "--buffer", "65536"}).ok);
    ParseResult r = Parse({"--format", "bmp"});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "--format needs --xfer file");
    r = Parse({"--xfer", "native", "--buffer", "100"});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "--buffer needs --xfer memory");
    EXPECT_FALSE(Parse({"--xfer", "memory", "--buffer", "0"}).ok);
    EXPECT_FALSE(Parse({"--xfer", "memory", "--buffer", "67108865"}).ok);
    EXPECT_FALSE(Parse({"--wait", "0"}).ok);
    EXPECT_EQ(Parse({"--wait", "3600"}).options.waitSeconds, 3600);
}

TEST(TwainscanOptions, DefaultOutputSuitsTheTransfer) {
    EXPECT_EQ(OutputPath(Parse({}).options), "scan.bmp");
    EXPECT_EQ(OutputPath(Parse({"--xfer", "memory"}).options), "scan.tif");
    EXPECT_EQ(OutputPath(Parse({"--xfer", "file"}).options), "scan.tif");
    EXPECT_EQ(OutputPath(Parse({"--xfer", "file", "--format", "bmp"}).options), "scan.bmp");
    EXPECT_EQ(OutputPath(Parse({"--out", "a.x"}).options), "a.x");
}

TEST(TwainscanOptions, OpenCyclesAreBoundedAndNeedNoAcquisition) {
    ParseResult r = Parse({"--open", "2"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.options.openCycles, 2);
    EXPECT_FALSE(WantsAcquisition(r.options));
    EXPECT_FALSE(Parse({"--open", "0"}).ok);
    EXPECT_FALSE(Parse({"--open", "101"}).ok);
    EXPECT_FALSE(Parse({"--open"}).ok);
}
