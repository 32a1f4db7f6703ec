#include "simulator/portlib/simulator_instance.h"

#include <cstdio>
#include <memory>

#include "platform/platform.h"

namespace {

constexpr const char* kAbsent = "\x7F";

void Report(const std::vector<std::string>& problems) {
    for (const std::string& p : problems) std::fprintf(stderr, "Scanner Simulator: %s\n", p.c_str());
    std::fflush(stderr);
}

std::unique_ptr<Device>& Instance() {
    static std::unique_ptr<Device> device;
    return device;
}

}  // namespace

SimulatorConfig ReadConfigFromProfile(std::vector<std::string>& problems) {
    SimulatorConfig config;
    ParseConfig(
        [](const char* key, std::string& value) {
            char buffer[512];
            plat::GetProfileString(kSimulatorSection, key, kAbsent, buffer, sizeof buffer);
            if (std::string(buffer) == kAbsent) return false;
            value = buffer;
            return true;
        },
        config, problems);
    return config;
}

Device& TheDevice() {
    std::unique_ptr<Device>& device = Instance();
    if (!device) {
        std::vector<std::string> problems;
        const SimulatorConfig config = ReadConfigFromProfile(problems);
        device = std::make_unique<Device>();
        PowerOn(*device, config);
        problems.insert(problems.end(), device->problems.begin(), device->problems.end());
        Report(problems);
    }
    return *device;
}

void PowerOffDevice() { Instance().reset(); }
