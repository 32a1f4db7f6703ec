#include "simulator/device/device.h"

void PowerOn(Device& device, const SimulatorConfig& config) {
    device = Device{};
    device.config = config;
    BuildSensor(config.profile, config.sensorSeed, device.sensor);
    std::string error;
    if (!LoadOriginal(config.original, config.originalDpi, device.original, error)) {
        device.problems.push_back("Original: " + error + "; using the built-in chart");
        device.original = Original{};
    }
    device.poweredOn = std::chrono::steady_clock::now();
    device.feederPagesLeft = config.feederPages;
    ResetTones(device.tones, ToneTableEntries(config.profile));
}

bool WarmingUp(const Device& device) {
    const FaultScript& f = device.config.faults;
    if (f.neverReady || device.hung || device.statusPolls < device.config.warmupPolls) return true;
    const auto elapsed = std::chrono::steady_clock::now() - device.poweredOn;
    return elapsed < std::chrono::milliseconds(device.config.warmupMs);
}

uint64_t SpanUnits(const BufferSpan* spans, size_t count, uint32_t unit) {
    uint64_t units = 0;
    for (size_t i = 0; i < count; ++i) {
        uint64_t n = spans[i].bytes / unit;
        if (spans[i].lines != 0 && spans[i].lines < n) n = spans[i].lines;
        units += n;
    }
    return units;
}
