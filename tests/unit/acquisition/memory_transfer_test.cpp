// Memory transfers through the entry point against the simulated scanner: the blocks, their
// answers and the assembled image, which must be the scanner's reference render byte for
// byte; the refusals; and what cancel, failure and an abandoned transfer leave behind.
#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/scan_job_flags.h"
#include "platform/host/host_control.h"
#include "settings/settings_store.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "twain/capability_tables.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

struct Delivery {
    std::vector<TW_IMAGEMEMXFER> blocks;  // the answers of the calls that delivered rows
    std::vector<uint8_t> image;           // their rows back to back
    std::vector<bool> handleUnlocked;     // after each call with flags 17
};

class MemoryTransferTest : public TransferTest {
protected:
    TW_UINT16 Call(TW_IMAGEMEMXFER& xfer) {
        return DS_Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
    }

    // Calls DAT_IMAGEMEMXFER until the answer is not TWRC_SUCCESS, as an application does.
    TW_UINT16 Transfer(uint32_t length, TW_UINT32 flags, Delivery& d) {
        std::vector<uint8_t> pointerBuffer(length);
        plat::MemHandle handle = flags == 17 ? plat::MemAlloc(length) : nullptr;
        TW_UINT16 rc = TWRC_SUCCESS;
        for (int call = 0; rc == TWRC_SUCCESS && call < 100000; ++call) {
            TW_IMAGEMEMXFER xfer{};
            xfer.Memory = {flags, length, handle ? handle : pointerBuffer.data()};
            rc = Call(xfer);
            EXPECT_EQ(TheSource.SourceState, 700);
            if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) break;
            const uint8_t* rows = pointerBuffer.data();
            if (handle) {
                d.handleUnlocked.push_back(plat::host::LockCount(handle) == 0);
                rows = static_cast<const uint8_t*>(plat::MemLock(handle));
            }
            d.blocks.push_back(xfer);
            d.image.insert(d.image.end(), rows, rows + xfer.BytesWritten);
            if (handle) plat::MemUnlock(handle);
        }
        if (handle) plat::MemFree(handle);
        return rc;
    }

    void ExpectReferenceImage(const Delivery& d) {
        const ReferenceImage ref = Reference();
        ASSERT_EQ(d.image.size(), ref.data.size());
        EXPECT_TRUE(d.image == ref.data) << "the delivered rows differ from the reference";
    }

    // Every block follows the one before; all but the last have the same number of rows.
    void ExpectContinuousBlocks(const Delivery& d, uint32_t rowsPerBlock, uint32_t bytesPerRow) {
        uint32_t y = 0;
        for (size_t i = 0; i < d.blocks.size(); ++i) {
            const TW_IMAGEMEMXFER& b = d.blocks[i];
            EXPECT_EQ(+b.YOffset, y) << "block " << i;
            EXPECT_EQ(+b.BytesPerRow, bytesPerRow);
            EXPECT_EQ(+b.BytesWritten, b.BytesPerRow * b.Rows);
            EXPECT_EQ(+b.XOffset, 0u);
            EXPECT_EQ(+b.Compression, TWCP_NONE);
            if (i + 1 < d.blocks.size()) EXPECT_EQ(+b.Rows, rowsPerBlock) << "block " << i;
            else EXPECT_LE(+b.Rows, rowsPerBlock);
            y += b.Rows;
        }
    }
};

// 24-bit colour 3000 pixels wide: a 65536-byte buffer holds 7 rows of 9000 bytes.
TEST_F(MemoryTransferTest, ColourInBlocksOfSevenRowsIsTheReferenceImage) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 11.0, 2.0);
    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);  // RGB, 300 dpi
    TW_IMAGEINFO info{};
    ASSERT_EQ(DS_Entry(&app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    ASSERT_EQ(info.ImageWidth, 3000);

    Delivery d;
    ASSERT_EQ(Transfer(65536, 9, d), TWRC_XFERDONE);
    ASSERT_EQ(d.blocks.size(), (uint32_t(info.ImageLength) + 6) / 7);
    EXPECT_LT(+d.blocks.back().Rows, 7u);  // 300 lines: 42 blocks of 7, then 6
    EXPECT_EQ(+d.blocks.back().Columns, 3000u);
    ExpectContinuousBlocks(d, 7, 9000);
    ExpectReferenceImage(d);

    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 500);
}

TEST_F(MemoryTransferTest, GrayAndLineArtThroughAHandleAreTheReferenceImage) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(0.5, 0.5, 4.5, 3.0);
    for (TW_UINT8 pixelType : {1, 0}) {
        ASSERT_EQ(ScanWithoutWindow(pixelType, 3), TWRC_SUCCESS);  // 200 dpi
        const uint32_t bytesPerRow = pixelType == 1 ? 800 : 100;
        Delivery d;
        ASSERT_EQ(Transfer(20 * bytesPerRow, 17, d), TWRC_XFERDONE) << int(pixelType);
        // Line art leaves two rows of every buffer unused.
        ExpectContinuousBlocks(d, pixelType == 1 ? 20 : 18, bytesPerRow);
        for (bool unlocked : d.handleUnlocked) EXPECT_TRUE(unlocked);
        ExpectReferenceImage(d);
        EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
        FinishPage();
    }
}

// 36-bit colour: six bytes a pixel, each 12-bit sample delivered as (sample & 4095) x 16.
TEST_F(MemoryTransferTest, DeepColourSamplesAreMovedToTheTopBits) {
    std::strcpy(app.ProductName, "Photoshop");  // the one application that takes the mode
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeColor, kSubMode36Bit, 150, 1.0, 1.0, 3.0, 2.0));
    Delivery d;
    ASSERT_EQ(Transfer(50000, 9, d), TWRC_XFERDONE);
    ExpectContinuousBlocks(d, 50000 / 1800, 1800);
    ExpectReferenceImage(d);
    size_t top = 0;
    for (size_t i = 0; i + 1 < d.image.size(); i += 2) top += (d.image[i] & 0x0F) == 0;
    EXPECT_EQ(top, d.image.size() / 2);  // the low four bits are always clear
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

// Post-processing takes the spooled path: the first call reads the whole image into the
// colour spool, later calls deliver from it; the spool is gone afterwards, and the file
// format entry in use has turned into TIFF.
TEST_F(MemoryTransferTest, PostProcessedTransferDeliversFromTheSpool) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    TheNegotiation.FileFormatIndex = 2;  // BMP
    SetFrame(1.0, 1.0, 3.0, 2.5);
    ASSERT_EQ(ScanWithoutWindow(2, 2), TWRC_SUCCESS);  // RGB, 150 dpi
    TheScanJobFlags.PostProcessing = true;  // with no filter chosen, the pass changes nothing

    TW_IMAGEMEMXFER first{};
    std::vector<uint8_t> buffer(10000);
    first.Memory = {9, uint32_t(buffer.size()), buffer.data()};
    ASSERT_EQ(Call(first), TWRC_SUCCESS);
    EXPECT_EQ(TempFiles().size(), 1u);  // the colour spool holds the image
    EXPECT_EQ(CurrentFileFormat(), TWFF_TIFF);
    Delivery d;
    d.image.assign(buffer.begin(), buffer.begin() + first.BytesWritten);
    d.blocks.push_back(first);
    Delivery rest;
    ASSERT_EQ(Transfer(10000, 9, rest), TWRC_XFERDONE);
    d.blocks.insert(d.blocks.end(), rest.blocks.begin(), rest.blocks.end());
    d.image.insert(d.image.end(), rest.image.begin(), rest.image.end());
    ExpectContinuousBlocks(d, 10000 / 900, 900);
    ExpectReferenceImage(d);
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

// A request the source cannot serve is refused before anything is read or written; the
// transfer stays ready for a proper one.
TEST_F(MemoryTransferTest, UnusableBuffersAreRefusedAndTheImageStaysReady) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 2.0, 1.5);
    ASSERT_EQ(ScanWithoutWindow(1, 2), TWRC_SUCCESS);  // gray 150 dpi: about 150 bytes a row
    std::vector<uint8_t> buffer(4096);
    struct Case {
        TW_UINT32 flags;
        TW_UINT32 length;
        bool buffer;
    };
    for (const Case& c : {Case{4, 4096, true}, Case{0, 4096, true}, Case{8, 4096, true},
                          Case{9, 4096, false}, Case{9, 100, true}, Case{17, 4096, false}}) {
        TW_IMAGEMEMXFER xfer;
        std::memset(&xfer, 0xAB, sizeof xfer);
        xfer.Memory = {c.flags, c.length, c.buffer ? buffer.data() : nullptr};
        const TW_IMAGEMEMXFER before = xfer;
        EXPECT_EQ(Call(xfer), TWRC_FAILURE) << c.flags << " " << c.length;
        TW_STATUS status{};
        DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        EXPECT_EQ(status.ConditionCode, TWCC_BADVALUE);
        EXPECT_EQ(std::memcmp(&xfer, &before, sizeof xfer), 0) << "the answer was written";
        EXPECT_EQ(TheSource.SourceState, 600);
    }
    Delivery d;
    ASSERT_EQ(Transfer(4096, 9, d), TWRC_XFERDONE);
    ExpectReferenceImage(d);

    // Once the last block is delivered there is nothing more to ask for.
    TW_IMAGEMEMXFER again{};
    again.Memory = {9, 4096, buffer.data()};
    EXPECT_EQ(Call(again), TWRC_FAILURE);
    TW_STATUS status{};
    DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
}

// Line art uses two rows fewer than the buffer holds, an enlarged scan takes whole lines (two
// rows each at 2400 dpi): a buffer that holds no block by those rules is refused like any
// buffer too small, nothing shown and nothing lost, and a larger one then takes the image.
TEST_F(MemoryTransferTest, ABufferWithNoBlockIsRefusedAndALargerOneTakesTheImage) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    struct Case {
        uint16_t mode;
        uint16_t resolution;
        uint32_t tooSmall;
    };
    for (const Case& c : {Case{kModeLineArt, 200, 50}, Case{kModeGray, 2400, 2400}}) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.tooSmall << " bytes");
        ASSERT_TRUE(ScanFromWindow(c.mode, 0, c.resolution, 1.0, 1.0, 2.0, 1.1));
        std::vector<uint8_t> buffer(c.tooSmall);
        TW_IMAGEMEMXFER xfer{};
        xfer.Memory = {9, c.tooSmall, buffer.data()};
        EXPECT_EQ(Call(xfer), TWRC_FAILURE);
        TW_STATUS status{};
        DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        EXPECT_EQ(status.ConditionCode, TWCC_BADVALUE);
        EXPECT_EQ(+xfer.BytesWritten, 0u);
        EXPECT_TRUE(MessageTexts().empty());
        EXPECT_FALSE(CloseRequested());
        EXPECT_EQ(TheSource.SourceState, 600);
        Delivery d;
        ASSERT_EQ(Transfer(65536, 9, d), TWRC_XFERDONE);
        EXPECT_EQ(d.image.size(), size_t(TheNegotiation.ImageInfoRecord.ImageLength) *
                                      d.blocks.front().BytesPerRow);
        FinishPage();
    }
}

// "CMYK Color" rows longer than the 49,152 bytes its blocks are cut for still go one a block.
TEST_F(MemoryTransferTest, CmykRowsLongerThanACmykBlockAreDelivered) {
    std::strcpy(app.ProductName, "Photoshop");  // admits "CMYK Color"
    std::filesystem::copy(KV_TABLES_DIR, windowsDir, std::filesystem::copy_options::recursive);
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(ScanFromWindow(kModeColor, kSubModeCmyk, 1600, 0.1, 1.0, 11.6, 1.02))
        << ::testing::PrintToString(MessageTexts());
    Delivery d;
    ASSERT_EQ(Transfer(1 << 20, 9, d), TWRC_XFERDONE) << ::testing::PrintToString(MessageTexts());
    ASSERT_FALSE(d.blocks.empty());
    EXPECT_GT(+d.blocks.front().BytesPerRow, 4u * 49152 / 3);
    EXPECT_EQ(d.image.size(), size_t(TheNegotiation.ImageInfoRecord.ImageLength) *
                                  d.blocks.front().BytesPerRow);
    EXPECT_TRUE(MessageTexts().empty());
}

// A scan in a mode the transfers do not know answers a failure of its own, never the code
// of the call before.
TEST_F(MemoryTransferTest, AnUnknownScanModeFailsTheCall) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 2.0, 1.5);
    ASSERT_EQ(ScanWithoutWindow(1, 2), TWRC_SUCCESS);
    TheSettings.settings.ScanMode = 1020;
    std::vector<uint8_t> buffer(4096);
    TW_IMAGEMEMXFER xfer{};
    xfer.Memory = {9, 4096, buffer.data()};
    EXPECT_EQ(Call(xfer), TWRC_FAILURE);
    TW_STATUS status{};
    DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    EXPECT_EQ(status.ConditionCode, TWCC_OPERATIONERROR);
    EXPECT_EQ(+xfer.BytesWritten, 0u);
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

// Escape after the first band, and an application that ends the transfer half-way: each
// leaves no file and no memory beyond the level-correction tables, and the scanner ready.
TEST_F(MemoryTransferTest, CancelAndAbandonLeaveNothingBehind) {
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 11.0, 2.0);  // 2.7 MB of colour: more than one band

    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
    plat::host::PressEscapeAtPump(2);
    Delivery cancelled;
    EXPECT_EQ(Transfer(65536, 9, cancelled), TWRC_CANCEL);
    EXPECT_FALSE(cancelled.blocks.empty());
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_FALSE(CloseRequested());
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
    FinishPage();

    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
    std::vector<uint8_t> buffer(65536);
    TW_IMAGEMEMXFER xfer{};
    xfer.Memory = {9, 65536, buffer.data()};
    ASSERT_EQ(Call(xfer), TWRC_SUCCESS);
    EXPECT_GT(plat::host::LiveBlocks(), kTablesOnly);  // the scanner buffers are held
    ASSERT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_EQ(TheSource.SourceState, 500);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
    EXPECT_TRUE(TempFiles().empty());
    TW_USERINTERFACE ui{0, 0, nullptr};
    ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);

    // Reset and end before the first block: the scanner holding the image is stopped, so
    // the next scan finds it ready.
    for (TW_UINT16 msg : {MSG_RESET, MSG_ENDXFER}) {
        ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, msg, &pending), TWRC_SUCCESS);
        EXPECT_EQ(TheSource.SourceState, 500);
        EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
        ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    }

    // Disabled, or closed, with the image not taken: the same.
    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
    ASSERT_EQ(DS_Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
    ASSERT_EQ(Close(), TWRC_SUCCESS);
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 3.0, 2.0);

    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
    Delivery next;
    EXPECT_EQ(Transfer(65536, 9, next), TWRC_XFERDONE);
    ExpectReferenceImage(next);
    EXPECT_TRUE(MessageTexts().empty());
}

// A paper jam in the second band fails the transfer with its message and asks the
// application to close the source.
TEST_F(MemoryTransferTest, AReadErrorFailsTheTransfer) {
    Simulate("ReadFault", "0x8217@280");
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    SetFrame(1.0, 1.0, 11.0, 2.0);
    ASSERT_EQ(ScanWithoutWindow(2, 4), TWRC_SUCCESS);
    Delivery failed;
    EXPECT_EQ(Transfer(65536, 9, failed), TWRC_FAILURE);
    EXPECT_FALSE(failed.blocks.empty());
    TW_STATUS status{};
    DS_Entry(&app, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    EXPECT_EQ(status.ConditionCode, TWCC_OPERATIONERROR);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("Paper Jammed"), std::string::npos);
    EXPECT_TRUE(CloseRequested());
    EXPECT_EQ(TheSource.SourceState, 700);
    EXPECT_EQ(plat::host::LiveBlocks(), kTablesOnly);
}

}  // namespace
