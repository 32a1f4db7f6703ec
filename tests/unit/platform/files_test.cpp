// Files, directories and free space on the host: Windows paths map onto the scratch folder.
#include <string>
#include <vector>

#include "tests/unit/platform/platform_fixture.h"

namespace {

class Files : public PlatformTest {
protected:
    // The Windows-style name of a file in the scratch folder.
    std::string WinPath(const std::string& name) const { return scratch.path() + "\\" + name; }
};

TEST_F(Files, CreateWriteSeekReadThroughBackslashPaths) {
    scratch.Subdirectory("TWAIN_32/KVTC_A3");
    const std::string path = WinPath("TWAIN_32\\KVTC_A3\\data.bin");
    plat::FileHandle f = plat::FileCreate(path.c_str());
    ASSERT_NE(f, plat::kNoFile);
    EXPECT_EQ(plat::FileWrite(f, "0123456789", 10), 10);
    EXPECT_EQ(plat::FileSeek(f, -4, plat::SeekFrom::End), 6);
    char buf[8] = {};
    EXPECT_EQ(plat::FileRead(f, buf, sizeof buf), 4);  // short read at the end
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_EQ(plat::FileSeek(f, 2, plat::SeekFrom::Begin), 2);
    EXPECT_EQ(plat::FileSeek(f, 3, plat::SeekFrom::Current), 5);
    EXPECT_EQ(plat::FileSeek(f, -1, plat::SeekFrom::Begin), -1);
    EXPECT_TRUE(plat::FileClose(f));
    EXPECT_EQ(plat::FileSize(path.c_str()), 10);
    EXPECT_EQ(scratch.ReadFile("TWAIN_32/KVTC_A3/data.bin"), "0123456789");
}

TEST_F(Files, CreateTruncatesAndOpenHonoursTheAccessAsked) {
    const std::string path = WinPath("f.txt");
    scratch.WriteFile("f.txt", "old contents");
    plat::FileHandle f = plat::FileCreate(path.c_str());
    plat::FileClose(f);
    EXPECT_EQ(plat::FileSize(path.c_str()), 0);

    f = plat::FileOpen(path.c_str(), plat::FileAccess::Read);
    ASSERT_NE(f, plat::kNoFile);
    EXPECT_EQ(plat::FileWrite(f, "x", 1), -1);
    plat::FileClose(f);
    EXPECT_EQ(plat::FileOpen(WinPath("absent").c_str(), plat::FileAccess::ReadWrite),
              plat::kNoFile);
    EXPECT_EQ(plat::FileRead(plat::kNoFile, nullptr, 0), -1);
    EXPECT_FALSE(plat::FileClose(plat::kNoFile));
}

TEST_F(Files, MoveNeverReplacesAndDeleteRemoves) {
    scratch.WriteFile("TWUNK_16.EXE", "exe");
    scratch.WriteFile("TWUNK_16.OLD", "old");
    const std::string exe = WinPath("TWUNK_16.EXE");
    const std::string old = WinPath("TWUNK_16.OLD");
    EXPECT_FALSE(plat::FileMove(exe.c_str(), old.c_str()));
    EXPECT_EQ(scratch.ReadFile("TWUNK_16.OLD"), "old");
    EXPECT_TRUE(plat::FileDelete(old.c_str()));
    EXPECT_FALSE(plat::FileExists(old.c_str()));
    EXPECT_TRUE(plat::FileMove(exe.c_str(), old.c_str()));
    EXPECT_FALSE(plat::FileExists(exe.c_str()));
    EXPECT_EQ(scratch.ReadFile("TWUNK_16.OLD"), "exe");
    EXPECT_FALSE(plat::FileDelete(exe.c_str()));
}

TEST_F(Files, DirectoriesExistButHaveNoSize) {
    EXPECT_TRUE(plat::FileExists(windowsDir.c_str()));
    EXPECT_EQ(plat::FileSize(windowsDir.c_str()), -1);
    EXPECT_EQ(plat::FileSize(WinPath("absent").c_str()), -1);
    EXPECT_FALSE(plat::FileDelete(windowsDir.c_str()));
}

TEST_F(Files, TheArmedWriteFailsOnceAndWritesNothing) {
    plat::FileHandle f = plat::FileCreate(WinPath("spool.tmp").c_str());
    plat::host::FailWriteAt(2);
    EXPECT_EQ(plat::FileWrite(f, "aa", 2), 2);
    EXPECT_EQ(plat::FileWrite(f, "bb", 2), -1);
    EXPECT_EQ(plat::FileWrite(f, "cc", 2), 2);
    plat::FileClose(f);
    EXPECT_EQ(scratch.ReadFile("spool.tmp"), "aacc");
}

TEST_F(Files, GatheredWritesPlaceTheirSegmentsInOrderAtTheOffset) {
    const std::string path = WinPath("gather.bin");
    plat::FileHandle f = plat::FileCreate(path.c_str());
    ASSERT_EQ(plat::FileWrite(f, "0123456789", 10), 10);
    const plat::FileSegment pieces[] = {{"ab", 2}, {"", 0}, {"cde", 3}};
    EXPECT_EQ(plat::FileWriteGather(f, 2, pieces, 3, nullptr, 0), 5);
    // More segments than one system call takes, each a byte: written in order all the same.
    std::string expected(3000, ' ');
    std::vector<plat::FileSegment> many;
    for (size_t i = 0; i < expected.size(); ++i) {
        expected[i] = char('A' + i % 26);
        many.push_back({&expected[i], 1});
    }
    EXPECT_EQ(plat::FileWriteGather(f, 10, many.data(), many.size(), nullptr, 0), 3000);
    // Refused without writing anything: a segment without data, a negative offset.
    const plat::FileSegment missing[] = {{"zz", 2}, {nullptr, 1}};
    EXPECT_EQ(plat::FileWriteGather(f, 0, missing, 2, nullptr, 0), -1);
    EXPECT_EQ(plat::FileWriteGather(f, -1, pieces, 1, nullptr, 0), -1);
    EXPECT_EQ(plat::FileWriteGather(plat::kNoFile, 0, pieces, 1, nullptr, 0), -1);
    // The armed failure counts a gathered write as one write.
    plat::host::FailWriteAt(1);
    EXPECT_EQ(plat::FileWriteGather(f, 0, pieces, 3, nullptr, 0), -1);
    plat::FileClose(f);
    EXPECT_EQ(scratch.ReadFile("gather.bin"), "01abcde789" + expected);
}

TEST_F(Files, FreeDiskBytesIsRealUnlessSet) {
    EXPECT_GT(plat::FreeDiskBytes(tempDir.c_str()), 0);
    // A file not yet created counts as its folder.
    EXPECT_GT(plat::FreeDiskBytes((tempDir + "\\new.tmp").c_str()), 0);
    EXPECT_EQ(plat::FreeDiskBytes("/no/such/folder/at/all"), -1);
    plat::host::SetFreeDiskBytes(int64_t(5) << 32);  // beyond 32 bits
    EXPECT_EQ(plat::FreeDiskBytes(tempDir.c_str()), int64_t(5) << 32);
    plat::host::SetFreeDiskBytes(-1);
    EXPECT_EQ(plat::FreeDiskBytes(tempDir.c_str()), -1);
}

TEST_F(Files, WindowsDirectoryAndTempPathFollowTheSystemsConventions) {
    char out[260];
    EXPECT_EQ(plat::WindowsDirectory(out, sizeof out), windowsDir.size());
    EXPECT_EQ(std::string(out), windowsDir);  // no trailing separator
    EXPECT_EQ(plat::TempPath(out, sizeof out), tempDir.size() + 1);
    EXPECT_EQ(std::string(out), tempDir + "/");  // with one
    char small[4];
    EXPECT_EQ(plat::WindowsDirectory(small, sizeof small), 0u);
    EXPECT_EQ(plat::TempPath(small, sizeof small), 0u);
    plat::host::Reset();
    EXPECT_EQ(plat::WindowsDirectory(out, sizeof out), 0u);
    EXPECT_EQ(plat::TempPath(out, sizeof out), 0u);
    EXPECT_EQ(plat::host::WinIniPath(), "");
}

TEST_F(Files, LibrariesLoadByMappedPathAndFailCleanly) {
    EXPECT_EQ(plat::LibraryLoad((windowsDir + "\\TWAIN_32\\KVTC_A3\\QASPI_SP.DLL").c_str()),
              nullptr);
    plat::LibHandle libc = plat::LibraryLoad("libc.so.6");
    ASSERT_NE(libc, nullptr);
    EXPECT_NE(plat::LibrarySymbol(libc, "strlen"), nullptr);
    EXPECT_EQ(plat::LibrarySymbol(libc, "ADDR_CHK"), nullptr);
    plat::LibraryFree(libc);
}

}  // namespace
