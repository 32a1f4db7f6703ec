// A client of the exchange as the data source is one: its own request blocks, a connection to
// the test server, and the names of socket errors it was asked to show.
#pragma once

#include <vector>

#include "common/remote_exchange.h"
#include "simulator/device/device.h"

struct TestClient {
    static std::vector<int> shownErrors;  // every ShowSocketError call, in order
    static void Record(int code) { shownErrors.push_back(code); }

    RemoteConnection connection;
    InquiryBlock inquiry{};
    SetParametersBlock setup{};
    SendGammaBlock gamma{};
    StartScanBlock start{};
    StopBlock stop{};
    ShadingInfoBlock shadingInfo{};
    ReadDataBlock read{};
    GetStatusBlock status{};
    uint8_t shading[2] = {};

    bool Connect(uint16_t port);
    void* BlockOf(uint32_t code);
    bool Exchange(uint32_t code, uint8_t force = 0);
};

// A gray scan of the bed's top-left corner, `pixels` wide and `lines` long at 100 dpi on the
// 1200 dpi model: set-up, remote shading and start. True when the start reply came back 0.
bool StartGrayScan(TestClient& client, uint16_t pixels, uint16_t lines);

// The same scan on a scanner of this test's own: set-up, the server's own calibration, start.
bool StartGrayScan(Device& device, uint16_t pixels, uint16_t lines);

// A table of `count` entries of `linesEach` lines over `area`.
void TableOver(std::vector<uint8_t>& area, ScanBufferTable& table, uint16_t count,
               uint32_t bytesPerLine, uint16_t linesEach);
