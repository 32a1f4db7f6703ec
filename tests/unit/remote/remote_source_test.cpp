// The data source with its local scanner held by the sharing server: discovery on loopback,
// the open through the server, and every transfer of a scan without the window equal, byte
// for byte, to the same acquisition from the scanner on the local port.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/remote_frames.h"
#include "link/remote_client.h"
#include "link/remote_discovery.h"
#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "platform/host/host_control.h"
#include "session/interface_language.h"
#include "tests/unit/acquisition/delivered_pictures.h"
#include "tests/unit/acquisition/transfer_fixture.h"
#include "tests/unit/remote/server_thread.h"
#include "twain/ds_entry.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

namespace {

struct Acquisition {
    TW_UINT8 pixelType;  // 0 line art, 1 gray, 2 colour
    TW_UINT8 mechanism;  // 0 native, 1 file, 2 memory
    TW_UINT16 format;
};

struct Delivered {
    Picture picture;
    std::string file;  // the file's bytes for a file transfer
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class RemoteSourceTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        SetProfile("KVTINFO_A3", "RelaynorAddress", "127.0.0.1");
    }

    // The local scanner held by the sharing server from its next power-on.
    void HandLocalScannerToServer() {
        Simulate("InquiryStatus", "1");
        const std::string path = (windowsDir / "TWAIN_32" / "KVTC_A3" / "QASPI_SP.DLL").string();
        plat::LibHandle lib = plat::LibraryLoad(path.c_str());
        ASSERT_NE(lib, nullptr);
        auto powerOff = reinterpret_cast<void (*)()>(plat::LibrarySymbol(lib, "SimPowerOff"));
        ASSERT_NE(powerOff, nullptr);
        powerOff();
        plat::LibraryFree(lib);
    }

    // One scan without the window and its transfer; a file is named before the scan (naming
    // it chooses TIFF, so the format is negotiated after).
    Delivered Take(const Acquisition& a) {
        Delivered d;
        const std::string path = (windowsDir / "page.img").string();
        if (a.mechanism == 1) {
            TW_SETUPFILEXFER setup{};
            std::strncpy(setup.FileName, path.c_str(), sizeof setup.FileName - 1);
            setup.Format = TWFF_TIFF;
            EXPECT_EQ(DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
        }
        TheNegotiation.XferMechIndex = a.mechanism;
        TheNegotiation.FileFormatIndex = a.format == TWFF_BMP ? 2 : 0;
        if (ScanWithoutWindow(a.pixelType, 1) != TWRC_SUCCESS) {
            d.picture.error = "the scan did not start";
            return d;
        }
        if (a.mechanism == 0) d.picture = NativePicture(app);
        if (a.mechanism == 2) d.picture = MemoryPicture(app, 20000);
        if (a.mechanism == 1) {
            if (DS_Entry(&app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr) != TWRC_XFERDONE)
                d.picture.error = "file transfer failed";
            d.file = Slurp(path);
            std::filesystem::remove(path);
        }
        FinishPage();
        return d;
    }

    std::vector<Delivered> TakeAll(const std::vector<Acquisition>& list) {
        std::vector<Delivered> out;
        SetFrame(0.5, 0.5, 2.5, 1.75);
        for (const Acquisition& a : list) out.push_back(Take(a));
        return out;
    }
};

TEST_F(RemoteSourceTest, EveryTransferThroughTheServerEqualsTheLocalOne) {
    std::vector<Acquisition> list;
    for (TW_UINT8 pixelType : {0, 1, 2}) {
        list.push_back({pixelType, 0, TWFF_TIFF});
        list.push_back({pixelType, 2, TWFF_TIFF});
        list.push_back({pixelType, 1, TWFF_TIFF});
        list.push_back({pixelType, 1, TWFF_BMP});
    }
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_FALSE(TheLink.remote);
    const std::vector<Delivered> local = TakeAll(list);
    ASSERT_EQ(Close(), TWRC_SUCCESS);

    HandLocalScannerToServer();
    ServerThread server(ServerOptions{});
    ASSERT_TRUE(server.Listening()) << server.Error();
    plat::host::ClearMessageBoxes();
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_TRUE(TheLink.remote);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                  "You have no local scanner and a remote scanner is available\n"
                                  "You connect to the remote scanner.\n"
                                  "The owner is: Relaynor\n"
                                  "The IP_address is: 127.0.0.1"});
    EXPECT_EQ(std::string(opened.Version.Info), std::string("11050kvtc_a3.d\nAdaptec Card\n"));
    const std::vector<Delivered> remote = TakeAll(list);

    for (size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE("pixel type " + std::to_string(list[i].pixelType) + ", mechanism " +
                     std::to_string(list[i].mechanism) + ", format " + std::to_string(list[i].format));
        ASSERT_EQ(local[i].picture.error, "");
        ASSERT_EQ(remote[i].picture.error, "");
        EXPECT_GT(local[i].picture.samples.size() + local[i].file.size(), 1000u);
        EXPECT_TRUE(remote[i].picture == local[i].picture);
        EXPECT_TRUE(remote[i].file == local[i].file) << "the files differ";
    }
    EXPECT_EQ(MessageTexts().size(), 1u) << "a message during the remote scans";
    const std::string log = server.Log();
    EXPECT_NE(log.find(": code 10, 1 bytes"), std::string::npos) << "no remote shading asked";
    EXPECT_EQ(log.find(": code 7,"), std::string::npos) << "a local shading request went out";
}

TEST_F(RemoteSourceTest, NoServerAnsweringEndsTheOpenAfterTheTimeOut) {
    Simulate("InquiryStatus", "1");
    EXPECT_EQ(Open(), TWRC_FAILURE);
    const std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Time Out!");
    EXPECT_EQ(texts[1], "There is no remote scanner!");
    EXPECT_NE(MessageCaptions()[2].find(LanguageString(609)), std::string::npos);
    EXPECT_EQ(std::string(TheSource.SourceIdentity.Version.Info), "0");
    EXPECT_FALSE(TheRemote.winSockStarted);
}

TEST_F(RemoteSourceTest, AServerThatLeavesFailsTheScanAndEveryLaterRequestAtOnce) {
    HandLocalScannerToServer();
    ServerOptions options;
    options.faults.closeAtFrame = 8;  // inside the scan job: after the set-up and the shading
    ServerThread server(options);
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    plat::host::ClearMessageBoxes();
    SetFrame(0.5, 0.5, 2.5, 1.75);
    EXPECT_EQ(ScanWithoutWindow(2, 1), TWRC_SUCCESS);
    EXPECT_TRUE(CloseRequested()) << server.Log();
    const std::string disconnect =
        "A3 Flatbed Scanner disconnects from Relaynor.\nIt can't share the remote scanner.";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{disconnect});
    EXPECT_EQ(TheRemote.connection.socket, plat::kNoSocket);

    plat::host::ClearMessageBoxes();
    EXPECT_FALSE(ScannerRequest(ScanRequestGetStatus, &TheRequests.getStatus));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{disconnect});
}

TEST_F(RemoteSourceTest, ClosingTheSourceFreesTheServerForTheNextOpen) {
    HandLocalScannerToServer();
    ServerThread server(ServerOptions{});
    for (int open = 0; open < 2; ++open) {
        ASSERT_EQ(Open(), TWRC_SUCCESS) << "open " << open;
        EXPECT_TRUE(TheLink.remote);
        ASSERT_EQ(Close(), TWRC_SUCCESS);
        EXPECT_EQ(TheRemote.connection.socket, plat::kNoSocket);
    }
    EXPECT_NE(server.Log().find("left"), std::string::npos);
}

TEST_F(RemoteSourceTest, DiscoveryTakesOnlyFiveCharactersAsAnAnswer) {
    for (const char* answer : {"ABCD", "ABCDEF"}) {
        ServerOptions options;
        options.answer = answer;
        ServerThread server(options);
        plat::host::ClearMessageBoxes();
        RemoteConnection connection;
        EXPECT_FALSE(RemoteDiscoverAndConnect(kLoopback, connection)) << answer;
        EXPECT_TRUE(MessageTexts().empty()) << answer;
        EXPECT_EQ(connection.socket, plat::kNoSocket);
    }
    // The datagram port is free again after each failed discovery.
    ServerThread server(ServerOptions{});
    RemoteConnection connection;
    EXPECT_TRUE(RemoteDiscoverAndConnect(kLoopback, connection));
    RemoteClose(connection);
}

TEST_F(RemoteSourceTest, TheDiscoveryTargetIsAnAddressOrNothingIsSent) {
    uint32_t target = 0;
    EXPECT_TRUE(DiscoveryTarget(target));
    EXPECT_EQ(target, kLoopback);
    SetProfile("KVTINFO_A3", "RelaynorAddress", "127.0.0");
    EXPECT_FALSE(DiscoveryTarget(target));
    plat::WriteProfileString("KVTINFO_A3", "RelaynorAddress", nullptr);
    EXPECT_TRUE(DiscoveryTarget(target));
    EXPECT_EQ(target, kBroadcastAddress);
}

}  // namespace
