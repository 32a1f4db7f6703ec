#include "prescan/prescan_read.h"

#include <algorithm>

#include "prescan/prescan_bitmap.h"
#include "prescan/prescan_messages.h"
#include "prescan/prescan_requests.h"

namespace {

bool ReadBand(PrescanSession& s, const ScanBuffers& buffers, uint32_t bytesPerLine,
              uint32_t linesRead, uint32_t lines) {
    ReadDataBlock& read = s.blocks.readData;
    read = ReadDataBlock{};
    read.bytesPerLine = static_cast<uint16_t>(bytesPerLine);
    read.lines = static_cast<uint16_t>(lines);
    read.bytes = lines * bytesPerLine;
    read.linesRead = static_cast<uint16_t>(linesRead);
    read.bandStart = 0;
    read.entryCount = buffers.count;
    read.table = const_cast<ScanBufferEntry*>(buffers.table);
    return PrescanRequest(s, ScanRequestReadData, &read);
}

}  // namespace

ReadOutcome ReadPrescanLines(PrescanSession& s, const ScanBuffers& buffers, uint32_t bytesPerLine,
                             uint32_t delivered, PrescanImage& image) {
    ReadOutcome out;
    const uint32_t lines = std::min(delivered, image.lines);
    while (out.linesRead < lines) {
        if (plat::PumpMessagesCheckEscape()) {
            out.cancelled = true;
            break;
        }
        const uint32_t band = std::min(lines - out.linesRead, buffers.linesPerRequest);
        if (!ReadBand(s, buffers, bytesPerLine, out.linesRead, band)) {
            out.failed = true;
            break;
        }
        if (s.blocks.readData.header.status != 0) {
            ReportStatus(s, s.blocks.readData.header.status);
            out.failed = true;
            break;
        }
        for (uint32_t k = 0; k < band; ++k, ++out.linesRead) {
            uint8_t* row = image.rows + size_t(image.lines - 1 - out.linesRead) * image.rowBytes;
            ScannerLineToRow(ScanLineAddress(buffers, k, bytesPerLine), image.pixels, row);
        }
    }
    return out;
}
