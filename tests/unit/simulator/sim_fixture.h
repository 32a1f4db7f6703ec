// A powered-on device reached through the port library's dispatch, and windows to scan.
#pragma once

#include <map>
#include <string>

#include "simulator/device/config.h"
#include "simulator/device/device.h"
#include "simulator/portlib/buffer_table.h"
#include "simulator/portlib/request_dispatch.h"
#include "tests/unit/simulator/scan_caller.h"

// Parses key=value pairs as the port library parses its profile section.
inline SimulatorConfig ConfigFrom(const std::map<std::string, std::string>& keys) {
    SimulatorConfig config;
    std::vector<std::string> problems;
    ParseConfig(
        [&](const char* key, std::string& value) {
            auto it = keys.find(key);
            if (it == keys.end()) return false;
            value = it->second;
            return true;
        },
        config, problems);
    return config;
}

struct SimulatedScanner {
    Device device;
    ScanCaller caller;

    explicit SimulatedScanner(const SimulatorConfig& config = SimulatorConfig{}) {
        PowerOn(device, config);
        caller.issue = [this](void* block, uint32_t code) { DispatchRequest(device, block, code); };
        caller.divide = [](void* area, uint32_t bytes, ScanBufferEntry* table, uint32_t unit) {
            return DivideBuffer(static_cast<uint8_t*>(area), bytes, table, unit);
        };
    }
    template <typename Block>
    uint16_t Issue(Block& block, uint32_t code) {
        return DispatchRequest(device, &block, code);
    }
};

// A window in inches on the bed, at the model's optical scale.
inline ScanWindow WindowInches(const ScannerProfile& p, double left, double top, double right,
                               double bottom, uint16_t dpi, uint8_t colourType) {
    const double s = OpticalScale(p);
    ScanWindow w;
    w.xStart = uint16_t(left * s), w.yStart = uint16_t(top * s);
    w.xEnd = uint16_t(right * s), w.yEnd = uint16_t(bottom * s);
    w.resolution = dpi;
    w.colourType = colourType;
    return w;
}
