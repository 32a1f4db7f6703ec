// The client side of the sharing-server protocol against a server that says anything: one
// request of any code (a read with any buffer table and byte count), then whatever bytes the
// input holds as the server's answer, written in pieces of the input's sizes by a thread that
// first takes the request frame as a server would. Every block and entry is its own
// allocation, so the sanitizers see any write past one; the read's table address must survive
// every reply.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "common/remote_exchange.h"
#include "common/remote_frames.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void Quiet(int) {}

struct Blocks {
    std::unique_ptr<InquiryBlock> inquiry = std::make_unique<InquiryBlock>();
    std::unique_ptr<SetParametersBlock> setup = std::make_unique<SetParametersBlock>();
    std::unique_ptr<SendGammaBlock> gamma = std::make_unique<SendGammaBlock>();
    std::unique_ptr<StartScanBlock> start = std::make_unique<StartScanBlock>();
    std::unique_ptr<StopBlock> stop = std::make_unique<StopBlock>();
    std::unique_ptr<ShadingInfoBlock> info = std::make_unique<ShadingInfoBlock>();
    std::unique_ptr<ReadDataBlock> read = std::make_unique<ReadDataBlock>();
    std::unique_ptr<GetStatusBlock> status = std::make_unique<GetStatusBlock>();
    std::unique_ptr<uint8_t[]> shading = std::make_unique<uint8_t[]>(2);

    ReplyBlocks Targets() {
        ReplyBlocks b;
        b.byCode[ScanRequestInquiry] = inquiry.get();
        b.byCode[ScanRequestSetParameters] = setup.get();
        b.byCode[ScanRequestSendGamma] = gamma.get();
        b.byCode[ScanRequestStartScan] = start.get();
        b.byCode[ScanRequestStop] = stop.get();
        b.byCode[ScanRequestShadingInfo] = info.get();
        b.byCode[ScanRequestReadData] = read.get();
        b.byCode[ScanRequestGetStatus] = status.get();
        b.byCode[ScanRequestRemoteShading] = shading.get();
        return b;
    }
};

// A buffer table of 0 to 17 entries of any size, some without an address, and a byte count
// that may pass what they hold.
struct Table {
    ScanBufferTable entries{};
    std::vector<std::unique_ptr<uint8_t[]>> areas;
};

void MakeRead(FuzzInput& in, ReadDataBlock& read, Table& table) {
    const uint16_t count = uint16_t(in.Pick(18));
    uint32_t room = 0;
    for (uint16_t i = 0; i < count && i < kScanBufferTableEntries; ++i) {
        const uint32_t size = in.Bit() ? in.U16() : in.U8();
        table.areas.push_back(std::make_unique<uint8_t[]>(size ? size : 1));
        table.entries[i].size = size;
        table.entries[i].lines = in.U16();
        table.entries[i].address = in.Pick(16) == 0 ? nullptr : table.areas.back().get();
        room += size;
    }
    read.entryCount = count;
    read.table = in.Pick(32) == 0 ? nullptr : table.entries;
    read.bytes = in.U32() % (room + 70000);
    read.lines = in.U16();
    read.bytesPerLine = in.U16();
}

// The server: takes the request frame, then sends the input's bytes in pieces and leaves.
void Serve(int fd, size_t requestBytes, std::vector<uint8_t> answer, std::vector<uint16_t> pieces) {
    std::vector<uint8_t> frame(requestBytes);
    for (size_t got = 0; got < requestBytes;) {
        const ssize_t n = ::recv(fd, frame.data() + got, requestBytes - got, 0);
        if (n <= 0) break;
        got += size_t(n);
    }
    size_t sent = 0;
    for (size_t i = 0; sent < answer.size(); ++i) {
        const size_t piece = std::min<size_t>(pieces.empty() ? answer.size() : pieces[i % pieces.size()] + 1,
                                              answer.size() - sent);
        const ssize_t n = ::send(fd, answer.data() + sent, piece, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += size_t(n);
    }
    ::shutdown(fd, SHUT_WR);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint32_t code = in.Pick(12);
    Blocks blocks;
    Table table;
    if (code == ScanRequestReadData) MakeRead(in, *blocks.read, table);
    const ScanBufferEntry* tableBefore = blocks.read->table;
    std::vector<uint16_t> pieces(in.Pick(4));
    for (uint16_t& p : pieces) p = in.U16();
    std::vector<uint8_t> answer(in.Remaining());
    in.Fill(answer.data(), answer.size());

    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return 0;
    const int big = 1 << 20;
    ::setsockopt(pair[1], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
    RemoteConnection connection;
    connection.socket = pair[0];
    connection.replyWaitMs = 1000;
    const size_t requestBytes = RequestFrameBytes(code);
    std::thread server(Serve, pair[1], requestBytes, std::move(answer), std::move(pieces));
    void* block = blocks.Targets().byCode[code <= ScanRequestRemoteShading ? code : 0];
    if (RemoteSendRequest(connection, code, block, 1, Quiet))
        RemoteReceiveReply(connection, code, blocks.Targets(), Quiet);
    // The server may still wait for a frame that never came, or send what nobody reads.
    RemoteClose(connection);
    ::shutdown(pair[1], SHUT_RDWR);
    server.join();
    ::close(pair[1]);
    if (blocks.read->table != tableBefore) std::abort();
    return 0;
}
