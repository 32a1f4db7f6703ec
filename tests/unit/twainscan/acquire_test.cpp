#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/le_fields.h"
#include "tests/unit/twainscan/fake_twain.h"
#include "tools/twainscan/acquire_command.h"
#include "tools/twainscan/tiff_stream.h"

using namespace twainscan;
using faketwain::Fault;

namespace {

std::string CallName(TW_UINT16 dat, TW_UINT16 msg) {
    return std::to_string(dat) + "/" + std::to_string(msg);
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

class TwainscanAcquire : public ::testing::Test {
protected:
    void SetUp() override {
        faketwain::current = &fake;
        out = ::testing::TempDir() + "twainscan_acquire_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::remove(out.c_str());
    }
    void TearDown() override {
        std::remove(out.c_str());
        faketwain::current = nullptr;
    }

    CommandResult Run(std::vector<std::string> args) {
        args.push_back("--out");
        args.push_back(out);
        ParseResult parsed = ParseCommandLine(args);
        EXPECT_TRUE(parsed.ok) << parsed.error;
        AcquireServices services{faketwain::Entry, &window, &fake.pump, &fake.blocks};
        return RunAcquisition(parsed.options, services,
                              [this](const std::string& text) { printed += text; });
    }

    // Back in state 3 and then closed, nothing of the source's left allocated.
    void ExpectClosedCleanly() {
        EXPECT_EQ(fake.state, 1) << printed;
        EXPECT_EQ(fake.blocks.Live(), 0u);
        EXPECT_EQ(fake.blocks.badFrees, 0);
    }

    bool Called(TW_UINT16 dat, TW_UINT16 msg) const {
        for (const std::string& c : fake.calls)
            if (c == CallName(dat, msg)) return true;
        return false;
    }

    faketwain::FakeTwain fake;
    int window = 0;
    std::string out;
    std::string printed;
};

}  // namespace

TEST_F(TwainscanAcquire, NativeBitmapBecomesABmpFileAndTheBlockIsFreed) {
    fake.image.width = 5;  // 15 bytes of colour, padded to 16 in the bitmap
    CommandResult r = Run({"--pixel", "rgb", "--res", "150", "--frame", "1,1,3,2.5"});
    ASSERT_TRUE(r.ok) << r.failure << "\n" << printed;
    EXPECT_TRUE(fake.refused.empty()) << fake.refused.front();
    ExpectClosedCleanly();
    EXPECT_EQ(fake.resolution, 150);
    EXPECT_EQ(fake.layout.Frame.Right.Whole, 3);
    EXPECT_EQ(fake.layout.Frame.Bottom.Frac, 0x8000);
    EXPECT_EQ(fake.pump.dispatched, 1);  // the unrelated message went on to the window

    const std::vector<uint8_t> bmp = ReadAll(out);
    const uint32_t dibBytes = 40 + 16 * 7;
    ASSERT_EQ(bmp.size(), 14 + dibBytes);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(LoadLe32(&bmp[2]), 14 + dibBytes);
    EXPECT_EQ(LoadLe32(&bmp[10]), 54u);
    // Bottom row first, blue-green-red: the last image row's first pixel leads the data.
    EXPECT_EQ(bmp[54], fake.image.Sample(0, 6, 2));
    EXPECT_EQ(bmp[56], fake.image.Sample(0, 6, 0));
    EXPECT_NE(printed.find("image ImageWidth: 5\nimage ImageLength: 7\n"), std::string::npos);
}

TEST_F(TwainscanAcquire, MemoryBlocksOfOddSizesAssembleIntoTheImage) {
    for (TW_INT16 type : {TW_INT16(TWPT_RGB), TW_INT16(TWPT_GRAY), TW_INT16(TWPT_BW)}) {
        fake = faketwain::FakeTwain{};
        fake.image.pixelType = type;
        fake.image.width = 13;
        fake.image.rowPadding = 3;
        printed.clear();
        CommandResult r = Run({"--xfer", "memory", "--buffer", "4096"});
        ASSERT_TRUE(r.ok) << r.failure << "\n" << printed;
        ExpectClosedCleanly();
        EXPECT_EQ(fake.blocksSent, 4);  // 1 + 3 + 2 + 1 rows

        const std::vector<uint8_t> tiff = ReadAll(out);
        std::vector<uint8_t> rows;
        for (uint32_t y = 0; y < 7; ++y) {
            std::vector<uint8_t> row = fake.image.Row(y);
            rows.insert(rows.end(), row.begin(), row.end());
        }
        ASSERT_EQ(tiff.size(), kTiffDataOffset + rows.size()) << type;
        EXPECT_TRUE(std::equal(rows.begin(), rows.end(), tiff.begin() + kTiffDataOffset)) << type;
    }
}

TEST_F(TwainscanAcquire, LyingMemoryBlocksFailTheRunAndLeaveNoFile) {
    struct Case {
        Fault fault;
        const char* reason;
    };
    const Case cases[] = {
        {Fault::BytesWrittenTooBig, "memory block 2 is wrong: BytesWritten 84 is not 21 x 3"},
        {Fault::YOffsetJump, "memory block 2 is wrong: YOffset 2 after 1 rows"},
        {Fault::WritePastBuffer, "memory block 2 is wrong: the source wrote past the end"},
        {Fault::ShortImage, "the source ended the image after 4 of 7 rows"},
        {Fault::MemoryFailure,
         "DAT_IMAGEMEMXFER block 3 failed: TWRC_FAILURE, TWCC_OPERATIONERROR"},
    };
    for (const Case& c : cases) {
        fake = faketwain::FakeTwain{};
        fake.image.width = 6;
        fake.image.rowPadding = 3;
        fake.fault = c.fault;
        printed.clear();
        CommandResult r = Run({"--xfer", "memory", "--buffer", "64"});
        EXPECT_FALSE(r.ok) << int(c.fault);
        EXPECT_EQ(r.failure.rfind(c.reason, 0), 0u) << r.failure;
        EXPECT_FALSE(Exists(out)) << int(c.fault);
        // The transfer is still ended before the source is disabled and closed.
        EXPECT_TRUE(Called(DAT_PENDINGXFERS, MSG_ENDXFER)) << int(c.fault);
        EXPECT_TRUE(fake.refused.empty()) << fake.refused.front();
        ExpectClosedCleanly();
    }
}

TEST_F(TwainscanAcquire, BmpFileIsAskedForThroughTheCapabilityWhenSetupTakesOnlyTiff) {
    CommandResult r = Run({"--xfer", "file", "--format", "bmp"});
    ASSERT_TRUE(r.ok) << r.failure << "\n" << printed;
    EXPECT_EQ(fake.fileName, out);
    EXPECT_EQ(fake.fileFormat, TWFF_BMP);
    EXPECT_NE(printed.find("wrote " + out + ": BMP"), std::string::npos) << printed;
    ExpectClosedCleanly();
}

TEST_F(TwainscanAcquire, FileTransferWithoutAFileIsAFailureEvenWithAStaleOne) {
    { std::ofstream(out) << "II*"; }  // a result of some earlier run
    fake.fault = Fault::NoFileWritten;
    CommandResult r = Run({"--xfer", "file"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.failure.find("cannot be opened"), std::string::npos) << r.failure;
    ExpectClosedCleanly();
}

TEST_F(TwainscanAcquire, SourceThatDoesNotReachReadyEndsTheRunWithAReason) {
    fake.fault = Fault::CloseRequest;
    CommandResult r = Run({});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failure, "the source asked to be closed (MSG_CLOSEDSREQ) before an image was ready");
    EXPECT_EQ(fake.state, 1);

    fake = faketwain::FakeTwain{};
    fake.fault = Fault::NeverReady;
    r = Run({"--wait", "5"});
    EXPECT_EQ(r.failure, "no MSG_XFERREADY within 5 s");
    EXPECT_LE(fake.pump.now, 5000u + 1);
    EXPECT_TRUE(fake.refused.empty()) << fake.refused.front();
    ExpectClosedCleanly();
}

TEST_F(TwainscanAcquire, RefusedStepsNameTheTripletAndTheCondition) {
    CommandResult r = Run({"--showui"});
    EXPECT_EQ(r.failure, "MSG_ENABLEDS failed: TWRC_FAILURE, TWCC_LOWMEMORY");
    ExpectClosedCleanly();

    fake = faketwain::FakeTwain{};
    fake.fault = Fault::KeepsPixelType;
    fake.pixelType = TWPT_BW;
    r = Run({"--pixel", "gray"});
    EXPECT_EQ(r.failure, "ICAP_PIXELTYPE is 0 after setting 1");
    EXPECT_FALSE(Called(DAT_USERINTERFACE, MSG_ENABLEDS));
    ExpectClosedCleanly();
}

TEST(TwainscanImagePath, LaterImagesGetANumberBeforeTheExtension) {
    EXPECT_EQ(ImagePath("scan.bmp", 1), "scan.bmp");
    EXPECT_EQ(ImagePath("scan.bmp", 2), "scan-2.bmp");
    EXPECT_EQ(ImagePath("C:\\a.b\\scan", 3), "C:\\a.b\\scan-3");
    EXPECT_EQ(ImagePath("dir.x/scan.tif", 12), "dir.x/scan-12.tif");
}
