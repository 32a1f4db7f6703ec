// Starting a scan and delivering its lines.
#include <thread>

#include "simulator/device/device.h"

namespace {

void PrepareScan(Device& device) {
    const uint32_t scale = OpticalScale(device.config.profile);
    std::vector<uint32_t> gains[3];
    ColumnGains(device.sensor, device.shading, device.window, scale, device.geometry.pixels,
                device.config.profile.calibration, device.coefficients, gains);
    PrepareRenderer(device.renderer, device.original, device.window, device.geometry, scale,
                    gains, device.tones);
}

// With a line rate set, lines are not ready before their time.
void PaceTo(const Device& device, uint32_t lines) {
    const uint32_t rate = device.config.lineRate;
    if (rate == 0) return;
    const auto due = device.scanStarted + std::chrono::microseconds(uint64_t(lines) * 1000000 / rate);
    std::this_thread::sleep_until(due);
}

bool ValidRead(const Device& device, const ReadDataBlock& block, const BufferSpan* spans,
               size_t count) {
    const uint32_t bpl = device.geometry.bytesPerLine;
    return block.bytesPerLine == bpl && block.lines != 0 &&
           block.bytes == uint32_t(block.lines) * bpl && block.linesRead >= device.linesDelivered &&
           uint32_t(block.linesRead) + block.lines <= device.geometry.lines && count >= 1 &&
           count <= kScanBufferTableEntries && SpanUnits(spans, count, bpl) >= block.lines;
}

}  // namespace

void HandleStartScan(Device& device, StartScanBlock& block) {
    if (device.phase != DevicePhase::Configured) {
        block.header.status = kStatusSequence;
        return;
    }
    // A second start on the same feeder set-up needs a page too.
    if (device.window.source == 3 && device.feederPagesLeft == 0) {
        block.header.status = kScanStatusNoPaper;
        return;
    }
    block.header.status = kScanStatusOk;
    const StartReplyFault fault = device.config.faults.startReply;
    block.bytesPerLine = fault == StartReplyFault::ZeroBytesPerLine ? 0 : uint16_t(device.geometry.bytesPerLine);
    block.lines = fault == StartReplyFault::ZeroLines ? 0 : uint16_t(device.geometry.lines);
    if (fault == StartReplyFault::Oversized) block.lines = block.bytesPerLine = 0xFFFF;
    if (fault != StartReplyFault::None) return;
    if (device.window.source == 3) --device.feederPagesLeft;
    PrepareScan(device);
    device.phase = DevicePhase::Scanning;
    device.linesDelivered = 0;
    device.readFaultsLeft = device.config.faults.readFault.count;
    device.readThenPending = false;
    device.scanStarted = std::chrono::steady_clock::now();
}

void HandleReadData(Device& device, ReadDataBlock& block, const BufferSpan* spans, size_t count) {
    if (device.hung) {
        block.header.status = kStatusBusy;
        return;
    }
    if (device.phase != DevicePhase::Scanning) {
        block.header.status = kStatusSequence;
        return;
    }
    if (!ValidRead(device, block, spans, count)) {
        block.header.status = kStatusInvalid;
        return;
    }
    const ReadFault& fault = device.config.faults.readFault;
    const bool faultyBand = fault.line >= block.linesRead &&
                            fault.line < uint32_t(block.linesRead) + block.lines;
    if (faultyBand && device.readThenPending) {
        device.readThenPending = false;
        block.header.status = fault.then;
        return;
    }
    if (faultyBand && device.readFaultsLeft > 0) {
        --device.readFaultsLeft;
        device.readThenPending = device.readFaultsLeft == 0 && fault.then != 0;
        block.header.status = fault.status;
        return;
    }
    const uint32_t bpl = device.geometry.bytesPerLine;
    const uint32_t first = block.linesRead, end = first + block.lines;
    PaceTo(device, end);
    uint32_t line = first;
    for (size_t i = 0; i < count && line < end; ++i) {
        uint64_t fit = spans[i].bytes / bpl;
        if (spans[i].lines != 0 && spans[i].lines < fit) fit = spans[i].lines;
        for (uint64_t k = 0; k < fit && line < end; ++k, ++line)
            RenderLine(device.renderer, line, spans[i].data + k * bpl);
    }
    device.linesDelivered = end;
    const uint32_t hangLine = device.config.faults.hangAfterLine;
    if (hangLine >= first && hangLine < end) device.hung = true;
    if (end == device.geometry.lines) device.phase = DevicePhase::Configured;
    block.header.status = kScanStatusOk;
}
