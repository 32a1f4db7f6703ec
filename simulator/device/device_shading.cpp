// The white reference and the coefficients sent back.
#include "simulator/device/device.h"

namespace {

bool ReadyForShading(const Device& device) { return device.phase == DevicePhase::Configured; }

// Copies `bytes` bytes out of the spans in order; false when they hold fewer.
bool GatherBytes(const BufferSpan* spans, size_t count, uint32_t bytes, std::vector<uint8_t>& out) {
    out.clear();
    for (size_t i = 0; i < count && out.size() < bytes; ++i) {
        const uint32_t take = std::min<uint32_t>(spans[i].bytes, bytes - uint32_t(out.size()));
        out.insert(out.end(), spans[i].data, spans[i].data + take);
    }
    return out.size() == bytes;
}

}  // namespace

void HandleShadingInfo(Device& device, ShadingInfoBlock& block) {
    if (block.one != 1) {
        block.header.status = kStatusInvalid;
        return;
    }
    if (!ReadyForShading(device)) {
        block.header.status = kStatusSequence;
        return;
    }
    block.bytesPerLine = uint16_t(device.shading.bytesPerLine);
    block.lines = device.config.shadingLines;
    block.header.status = kScanStatusOk;
}

void HandleReadShading(Device& device, ReadShadingBlock& block, const BufferSpan* spans,
                       size_t count) {
    if (!ReadyForShading(device)) {
        block.header.status = kStatusSequence;
        return;
    }
    // A caller short of memory may ask for fewer lines than announced: it gets the first ones.
    const uint32_t lineBytes = device.shading.bytesPerLine;
    const uint32_t lines = device.config.shadingLines;
    const uint32_t asked = block.lines;
    if (block.resolution != device.window.resolution || block.bytesPerLine != lineBytes ||
        asked == 0 || asked > lines || block.bytes != lineBytes * asked ||
        SpanUnits(spans, count, lineBytes) < asked) {
        block.header.status = kStatusInvalid;
        return;
    }
    // Whole lines per entry, entries in order.
    const uint32_t scale = OpticalScale(device.config.profile);
    uint32_t line = 0;
    for (size_t i = 0; i < count && line < asked; ++i) {
        uint64_t fit = spans[i].bytes / lineBytes;
        if (spans[i].lines != 0 && spans[i].lines < fit) fit = spans[i].lines;
        for (uint64_t k = 0; k < fit && line < asked; ++k, ++line)
            WriteShadingLine(device.sensor, device.shading, device.window, scale, line, lines,
                             device.config.sensorSeed, spans[i].data + k * lineBytes);
    }
    device.shadingReadSinceSetup = true;
    block.header.status = kScanStatusOk;
}

void HandleSendShading(Device& device, SendShadingBlock& block, const BufferSpan* high,
                       size_t highCount, const BufferSpan* low, size_t lowCount) {
    if (!ReadyForShading(device)) {
        block.header.status = kStatusSequence;
        return;
    }
    const uint32_t samples = device.shading.Samples();
    std::vector<uint8_t> hi, lo;
    if (block.resolution != device.window.resolution || block.samples != samples ||
        !GatherBytes(high, highCount, samples, hi) || !GatherBytes(low, lowCount, samples, lo)) {
        block.header.status = kStatusInvalid;
        return;
    }
    device.coefficients.resize(samples);
    for (uint32_t i = 0; i < samples; ++i) device.coefficients[i] = uint16_t((hi[i] << 8) | lo[i]);
    // A measurement followed by its coefficients is a calibration the scanner remembers.
    if (device.shadingReadSinceSetup) {
        device.calibrated = true;
        device.calibratedWindow = device.window;
    }
    block.header.status = kScanStatusOk;
}
