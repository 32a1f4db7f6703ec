#include "tests/unit/remote/remote_client.h"

#include "simulator/server/server_requests.h"
#include "tests/unit/remote/server_thread.h"

std::vector<int> TestClient::shownErrors;

namespace {

SetParametersBlock GraySetup(uint16_t pixels, uint16_t lines) {
    SetParametersBlock s{};
    s.xEnd = uint16_t(pixels * 12);  // 100 dpi on the 1200-unit scale
    s.yEnd = uint16_t(lines * 12);
    s.fromDataSource = 1;
    s.colourType = kColourTypeGray;
    s.resolution = 100;
    return s;
}

}  // namespace

bool TestClient::Connect(uint16_t port) {
    connection = RemoteConnection{};
    connection.socket = plat::SocketOpenTcp();
    return connection.socket != plat::kNoSocket &&
           plat::SocketConnect(connection.socket, kLoopback, port);
}

void* TestClient::BlockOf(uint32_t code) {
    switch (code) {
        case ScanRequestInquiry: return &inquiry;
        case ScanRequestSetParameters: return &setup;
        case ScanRequestSendGamma: return &gamma;
        case ScanRequestStartScan: return &start;
        case ScanRequestStop: return &stop;
        case ScanRequestShadingInfo: return &shadingInfo;
        case ScanRequestReadData: return &read;
        case ScanRequestGetStatus: return &status;
        case ScanRequestRemoteShading: return shading;
        default: return nullptr;
    }
}

bool TestClient::Exchange(uint32_t code, uint8_t force) {
    ReplyBlocks blocks;
    for (uint32_t c = 0; c <= ScanRequestRemoteShading; ++c) blocks.byCode[c] = BlockOf(c);
    return RemoteSendRequest(connection, code, BlockOf(code), force, Record) &&
           RemoteReceiveReply(connection, code, blocks, Record);
}

bool StartGrayScan(TestClient& client, uint16_t pixels, uint16_t lines) {
    client.setup = GraySetup(pixels, lines);
    return client.Exchange(ScanRequestSetParameters) && client.setup.header.status == 0 &&
           client.Exchange(ScanRequestRemoteShading) && client.shading[0] == 'O' &&
           client.Exchange(ScanRequestStartScan) && client.start.header.status == 0;
}

bool StartGrayScan(Device& device, uint16_t pixels, uint16_t lines) {
    SetParametersBlock setup = GraySetup(pixels, lines);
    HandleSetParameters(device, setup);
    StartScanBlock start{};
    if (setup.header.status != 0 || !CalibrateForClient(device)) return false;
    HandleStartScan(device, start);
    return start.header.status == 0;
}

void TableOver(std::vector<uint8_t>& area, ScanBufferTable& table, uint16_t count,
               uint32_t bytesPerLine, uint16_t linesEach) {
    area.assign(size_t(count) * linesEach * bytesPerLine, 0);
    for (uint16_t i = 0; i < count; ++i) {
        table[i] = ScanBufferEntry{};
        table[i].size = uint32_t(linesEach) * bytesPerLine;
        table[i].lines = linesEach;
        table[i].address = area.data() + size_t(i) * table[i].size;
    }
}
