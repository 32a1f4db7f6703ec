#include "simulator/portlib/scan_log_file.h"

#include <cstdio>

#include "simulator/device/scan_log.h"

namespace {

bool Append(const std::string& path, const std::vector<uint8_t>& record) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    const bool written = std::fwrite(record.data(), 1, record.size(), f) == record.size();
    return std::fclose(f) == 0 && written;
}

}  // namespace

void LogAcceptedRequest(Device& device, uint32_t code, const void* block) {
    static bool reported = false;
    const std::string& path = device.config.scanLog;
    if (path.empty() || !block ||
        static_cast<const ScannerRequestHeader*>(block)->status != kScanStatusOk)
        return;
    const std::vector<uint8_t> record = ScanLogRecord(code, block);
    if (record.empty() || Append(path, record) || reported) return;
    reported = true;
    std::fprintf(stderr, "Scanner Simulator: ScanLog=%s: cannot write\n", path.c_str());
    std::fflush(stderr);
}
