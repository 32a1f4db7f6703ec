#include "simulator/server/server_requests.h"

#include <cstring>

#include "simulator/device/profile.h"
#include "simulator/portlib/buffer_table.h"
#include "simulator/portlib/request_dispatch.h"

namespace {

// Room for any block a frame carries, aligned like the blocks themselves.
union AnyBlock {
    InquiryBlock inquiry;
    SetParametersBlock setParameters;
    SendGammaBlock sendGamma;
    StartScanBlock startScan;
    StopBlock stop;
    ShadingInfoBlock shadingInfo;
    ReadDataBlock readData;
    GetStatusBlock getStatus;
};

uint16_t Status(const void* block) {
    return static_cast<const ScannerRequestHeader*>(block)->status;
}

// The read goes into the server's own buffer, divided into whole lines the way the port
// library divides a caller's. Whatever the device delivers, exactly the asked bytes go back.
void ServeRead(Device& device, ReadDataBlock& read, ServedFrame& out) {
    const uint64_t asked = uint64_t(read.lines) * read.bytesPerLine;
    if (read.bytes > kServerReadLimit || read.bytes == 0 || asked != read.bytes) {
        // An impossible read still has its bytes expected: send them, empty, if that is sane.
        if (read.bytes > kServerReadLimit) {
            out.followable = false;
            return;
        }
        out.imageData.assign(read.bytes, 0);
        read.header.status = kStatusInvalid;
        return;
    }
    out.imageData.assign(read.bytes, 0);
    ScanBufferTable table{};
    const uint16_t entries = DivideBuffer(out.imageData.data(), read.bytes, table, read.bytesPerLine);
    for (uint16_t i = 0; i < entries; ++i)
        table[i].lines = static_cast<uint16_t>(table[i].size / read.bytesPerLine);
    read.table = table;
    read.entryCount = entries;
    DispatchRequest(device, &read, ScanRequestReadData);
    read.table = nullptr;
}

}  // namespace

bool CalibrateForClient(Device& device) {
    ShadingInfoBlock info{};
    info.one = 1;
    HandleShadingInfo(device, info);
    if (info.header.status != 0 || info.lines == 0 || info.bytesPerLine == 0) return false;

    std::vector<uint8_t> lines(size_t(info.lines) * info.bytesPerLine);
    BufferSpan span{lines.data(), uint32_t(lines.size()), info.lines};
    ReadShadingBlock read{};
    read.resolution = device.window.resolution;
    read.bytesPerLine = info.bytesPerLine;
    read.lines = info.lines;
    read.bytes = uint32_t(lines.size());
    HandleReadShading(device, read, &span, 1);
    if (read.header.status != 0) return false;

    const std::vector<uint16_t> coefficients =
        IdealCoefficients(device.sensor, device.shading, device.window,
                          OpticalScale(device.config.profile), device.config.profile.calibration);
    std::vector<uint8_t> high(coefficients.size()), low(coefficients.size());
    for (size_t i = 0; i < coefficients.size(); ++i) {
        high[i] = uint8_t(coefficients[i] >> 8);
        low[i] = uint8_t(coefficients[i]);
    }
    BufferSpan highSpan{high.data(), uint32_t(high.size()), 0};
    BufferSpan lowSpan{low.data(), uint32_t(low.size()), 0};
    SendShadingBlock send{};
    send.resolution = device.window.resolution;
    send.samples = uint32_t(coefficients.size());
    HandleSendShading(device, send, &highSpan, 1, &lowSpan, 1);
    return send.header.status == 0;
}

void ServeFrame(Device& device, const uint8_t* frame, ClientSessionState& session, ServedFrame& out) {
    const uint32_t code = frame[0];
    out.imageData.clear();
    if (code == ScanRequestRemoteShading) {
        const bool calibrated = CalibrateForClient(device);
        const uint8_t word[2] = {uint8_t(calibrated ? 'O' : 'N'), uint8_t(calibrated ? 'K' : 'O')};
        out.status = calibrated ? 0 : 1;
        out.replyBytes = EncodeReplyFrame(code, word, out.reply);
        return;
    }
    AnyBlock block;
    std::memset(&block, 0, sizeof block);
    DecodeRequestFrame(frame, &block, &session.forceCalibration);
    if (code == ScanRequestReadData) {
        ServeRead(device, block.readData, out);
        if (!out.followable) return;
    } else {
        DispatchRequest(device, &block, code);
    }
    out.status = Status(&block);
    out.replyBytes = EncodeReplyFrame(code, &block, out.reply);
}
