#include "simulator/portlib/request_dispatch.h"

#include <vector>

#include "simulator/portlib/buffer_table.h"
#include "simulator/portlib/scan_log_file.h"

namespace {

template <typename Block>
Block& As(void* block) {
    return *static_cast<Block*>(block);
}

void ReadShading(Device& device, ReadShadingBlock& block) {
    std::vector<BufferSpan> spans;
    if (!SpansForUnits(block.table, block.bytesPerLine, block.lines, spans)) {
        block.header.status = kStatusInvalid;
        return;
    }
    HandleReadShading(device, block, spans.data(), spans.size());
}

bool TableSpans(const ScanBufferEntry* table, uint16_t entries, uint32_t bytes,
                std::vector<BufferSpan>& spans) {
    // A count of 0 (the prescan library leaves it so) means: as many entries as the data needs.
    return entries == 0 ? SpansForBytes(table, bytes, spans)
                        : SpansFromTable(table, entries, spans);
}

void SendShading(Device& device, SendShadingBlock& block) {
    std::vector<BufferSpan> high, low;
    if (!TableSpans(block.highTable, block.highEntries, block.samples, high) ||
        !TableSpans(block.lowTable, block.lowEntries, block.samples, low)) {
        block.header.status = kStatusInvalid;
        return;
    }
    HandleSendShading(device, block, high.data(), high.size(), low.data(), low.size());
}

void ReadData(Device& device, ReadDataBlock& block) {
    std::vector<BufferSpan> spans;
    if (!SpansFromTable(block.table, block.entryCount, spans)) {
        block.header.status = kStatusInvalid;
        return;
    }
    HandleReadData(device, block, spans.data(), spans.size());
}

}  // namespace

uint16_t DispatchRequest(Device& device, void* block, uint32_t code) {
    if (!block) return kStatusInvalid;
    switch (code) {
        case ScanRequestInquiry: HandleInquiry(device, As<InquiryBlock>(block)); break;
        case ScanRequestSetParameters: HandleSetParameters(device, As<SetParametersBlock>(block)); break;
        case ScanRequestReadShading: ReadShading(device, As<ReadShadingBlock>(block)); break;
        case ScanRequestSendShading: SendShading(device, As<SendShadingBlock>(block)); break;
        case ScanRequestSendGamma: HandleSendGamma(device, As<SendGammaBlock>(block)); break;
        case ScanRequestStartScan: HandleStartScan(device, As<StartScanBlock>(block)); break;
        case ScanRequestStop: HandleStop(device, As<StopBlock>(block)); break;
        case ScanRequestShadingInfo: HandleShadingInfo(device, As<ShadingInfoBlock>(block)); break;
        case ScanRequestReadData: ReadData(device, As<ReadDataBlock>(block)); break;
        case ScanRequestGetStatus: HandleGetStatus(device, As<GetStatusBlock>(block)); break;
        default: As<ScannerRequestHeader>(block).status = kStatusUnknownCode; break;
    }
    LogAcceptedRequest(device, code, block);
    return As<ScannerRequestHeader>(block).status;
}
