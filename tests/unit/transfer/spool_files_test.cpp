// Spool names beside the working file, the rule that keeps them off the output file, and
// deletion of every spool that was created, open or not.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/spool_files.h"
#include "platform/host/host_control.h"

namespace {

TEST(SpoolNames, SpoolsLieBesideTheWorkingFile) {
    const std::string working = "C:\\TEMP\\ABC12.TIF";  // from the temporary name ABC12.TMP
    EXPECT_EQ(ColourSpoolPath(working, ""), working);
    EXPECT_EQ(GraySpoolPath(working, ""), "C:\\TEMP\\Xfer_G.Tmp");
    EXPECT_EQ(InterpSpoolPath(working, ""), "C:\\TEMP\\Interp.Tmp");
    EXPECT_EQ(GraySpoolPath("/tmp/x/COR0001.TIF", ""), "/tmp/x/Xfer_G.Tmp");
    EXPECT_EQ(GraySpoolPath("ABC12.TIF", ""), "Xfer_G.Tmp");
}

// A file transfer to the default name would otherwise scan its colour spool over its own
// output and delete the image at the end.
TEST(SpoolNames, NoSpoolTakesTheOutputFilesName) {
    const std::string working = "C:\\TEMP\\ABC12.TIF";
    EXPECT_EQ(ColourSpoolPath(working, "c:/temp/abc12.tif"), "C:\\TEMP\\ABC12_.TIF");
    EXPECT_EQ(ColourSpoolPath(working, "C:\\TEMP\\ABC12.BMP"), working);
    EXPECT_EQ(GraySpoolPath(working, "C:\\Temp\\XFER_G.TMP"), "C:\\TEMP\\Xfer_G_.Tmp");
    EXPECT_EQ(InterpSpoolPath("C:\\T.X\\A.TIF", "C:\\T.X\\Interp.Tmp"), "C:\\T.X\\Interp_.Tmp");
    EXPECT_EQ(ColourSpoolPath("C:\\T.X\\NAME", "C:\\T.X\\NAME"), "C:\\T.X\\NAME_");
}

TEST(SpoolFiles, EverySpoolCreatedIsDeletedEvenAfterClosing) {
    plat::host::Reset();
    plat::host::ScratchDirectory folder;
    const std::string working = folder.path() + "/COR0001.TIF";
    const TiffGeometry g{PixelLayout::Gray, 10, 2, 150};
    ASSERT_TRUE(CreateGraySpool(working, "", g));
    ASSERT_TRUE(CreateInterpSpool(working, "", g));
    const uint8_t rows[20] = {};
    ASSERT_TRUE(AppendSpoolBand(TheSpools.gray, rows, sizeof rows));
    ASSERT_TRUE(OpenSpoolForReading(false));  // closed after writing, open for reading
    CloseSpools();
    EXPECT_TRUE(std::filesystem::exists(folder.path() + "/Xfer_G.Tmp"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() + "/Interp.Tmp"));
    DeleteSpools();
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_EQ(plat::host::LiveBlocks(), 0u);
}

// An image delivered earlier under the default name (the colour spool's name) survives a
// later post-processed transfer: the spool goes beside it and only the spool is deleted.
TEST(SpoolFiles, ASpoolNeverTakesOverAFileThatIsThere) {
    plat::host::Reset();
    plat::host::ScratchDirectory folder;
    const std::string working = folder.WriteFile("COR0001.TIF", "an earlier image");
    const TiffGeometry g{PixelLayout::Rgb24, 30, 2, 150};
    ASSERT_TRUE(CreateColorSpool(working, "", g));
    EXPECT_EQ(TheSpools.colour.path, folder.path() + "/COR0001_.TIF");
    DeleteSpools();
    EXPECT_EQ(folder.ReadFile("COR0001.TIF"), "an earlier image");
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/COR0001_.TIF"));
}

}  // namespace
