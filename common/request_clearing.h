// Before every request the caller leaves zero what the scanner must not read as a value: the
// header's reserved words, the status and reply fields of the previous answer (a request the
// scanner does not answer must not look answered), and each block's reserved bytes. The
// blocks are reused for every request of their code, so nothing of an earlier request or
// reply survives into the next one.
#pragma once

#include <cstdint>
#include <cstring>

#include "common/request_blocks.h"

namespace request_clearing {

inline void Header(ScannerRequestHeader& h) { h = ScannerRequestHeader{}; }

}  // namespace request_clearing

inline void ClearRequestBlock(uint32_t code, void* block) {
    using namespace request_clearing;
    if (!block) return;
    switch (code) {
        case ScanRequestInquiry: {
            auto& b = *static_cast<InquiryBlock*>(block);
            Header(b.header);
            std::memset(b.reserved6, 0, sizeof b.reserved6);
            return;
        }
        case ScanRequestSetParameters: {
            auto& b = *static_cast<SetParametersBlock*>(block);
            Header(b.header);
            b.shadingNeeded = b.shadingKind = b.replyState = b.reserved23 = b.reserved27 = 0;
            b.reserved28 = 0;
            return;
        }
        case ScanRequestReadShading: {
            auto& b = *static_cast<ReadShadingBlock*>(block);
            Header(b.header);
            b.reserved16 = 0;
            return;
        }
        case ScanRequestSendShading: {
            auto& b = *static_cast<SendShadingBlock*>(block);
            Header(b.header);
            b.zero12 = b.zero14 = 0;
            return;
        }
        case ScanRequestSendGamma: {
            auto& b = *static_cast<SendGammaBlock*>(block);
            Header(b.header);
            std::memset(b.reserved16400, 0, sizeof b.reserved16400);
            return;
        }
        case ScanRequestStartScan: {
            auto& b = *static_cast<StartScanBlock*>(block);
            Header(b.header);
            b.zero6 = b.bytesPerLine = b.lines = 0;
            std::memset(b.reserved12, 0, sizeof b.reserved12);
            return;
        }
        case ScanRequestStop: Header(static_cast<StopBlock*>(block)->header); return;
        case ScanRequestShadingInfo: {
            auto& b = *static_cast<ShadingInfoBlock*>(block);
            Header(b.header);
            b.bytesPerLine = b.lines = 0;
            std::memset(b.reserved12, 0, sizeof b.reserved12);
            return;
        }
        case ScanRequestReadData: {
            auto& b = *static_cast<ReadDataBlock*>(block);
            Header(b.header);
            b.reserved10 = 0;
            std::memset(b.reserved20, 0, sizeof b.reserved20);
            std::memset(b.reserved32, 0, sizeof b.reserved32);
            return;
        }
        case ScanRequestGetStatus: {
            auto& b = *static_cast<GetStatusBlock*>(block);
            Header(b.header);
            b.ready = 0;
            std::memset(b.reserved8, 0, sizeof b.reserved8);
            return;
        }
        default: return;  // the remote shading request has no block
    }
}
