#include "simulator/device/sensor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <utility>

uint64_t MixBits(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::vector<uint16_t> WhiteLevelsFor(uint16_t v) {
    constexpr uint16_t kLow = 3000, kHigh = 3800;
    std::vector<uint16_t> levels;
    const uint32_t product = uint32_t(v) * 4095u;
    for (uint32_t d = kLow; d <= kHigh; ++d)
        if (product != 0 && product % d == 0) levels.push_back(uint16_t(d));
    if (levels.size() < 4) {
        levels.clear();
        for (uint32_t d = kLow; d <= kHigh; ++d) levels.push_back(uint16_t(d));
    }
    return levels;
}

namespace {

uint16_t Nearest(const std::vector<uint16_t>& levels, double target) {
    auto it = std::lower_bound(levels.begin(), levels.end(), uint16_t(std::lround(target)));
    if (it == levels.end()) return levels.back();
    if (it == levels.begin()) return *it;
    const uint16_t above = *it, below = *(it - 1);
    return (above - target) < (target - below) ? above : below;
}

// Everything a sensor model is made from: the element count and the three calibration values
// of the profile, and the seed.
struct SensorKey {
    uint32_t elements;
    std::array<uint16_t, 3> calibration;
    uint32_t seed;
    bool operator==(const SensorKey& o) const {
        return elements == o.elements && calibration == o.calibration && seed == o.seed;
    }
};

void Build(const SensorKey& key, SensorModel& sensor) {
    sensor.elements = key.elements;
    const double base[3] = {3450.0, 3500.0, 3350.0};  // the lamp is weakest in blue
    const double mid = (sensor.elements - 1) / 2.0;
    for (int c = 0; c < 3; ++c) {
        const std::vector<uint16_t> levels = WhiteLevelsFor(key.calibration[c]);
        sensor.white[c].resize(sensor.elements);
        for (uint32_t e = 0; e < sensor.elements; ++e) {
            const double u = (e - mid) / mid;
            const uint64_t h = MixBits((uint64_t(key.seed) << 40) ^ (uint64_t(c) << 32) ^ e);
            const double r = (double(h & 0xFFFF) / 32767.5) - 1.0;
            const double target = base[c] * (1.0 - 0.08 * u * u) * (1.0 + 0.05 * r);
            sensor.white[c][e] = Nearest(levels, target);
        }
    }
}

// Every power-on builds the sensor afresh, and a process that powers scanners on again and
// again (tests, fuzzing) mostly asks for the same few models. The model is a pure function of
// its key, so a repeat is a copy of the one built before. The few most recent models are kept.
// The simulator powers on from one thread only (there is no std::mutex in every toolchain it
// is built with).
class SensorMemo {
public:
    void Get(const SensorKey& key, SensorModel& sensor) {
        for (const auto& [k, model] : models_)
            if (k == key) return void(sensor = model);
        Build(key, sensor);
        if (models_.size() == kKept) models_.pop_front();
        models_.emplace_back(key, sensor);
    }

private:
    static constexpr size_t kKept = 8;
    std::deque<std::pair<SensorKey, SensorModel>> models_;
};

}  // namespace

void BuildSensor(const ScannerProfile& profile, uint32_t seed, SensorModel& sensor) {
    static SensorMemo memo;
    const SensorKey key{ScanArea(profile, 1).width,
                        {profile.calibration[0], profile.calibration[1], profile.calibration[2]},
                        seed};
    memo.Get(key, sensor);
}

uint16_t ShadingSample(uint16_t white, uint32_t position, uint32_t line, uint32_t lines,
                       uint32_t seed) {
    const uint64_t h = MixBits((uint64_t(seed) << 32) ^ position);
    const uint32_t lowCount = uint32_t(h % 3), highCount = uint32_t((h >> 8) % 3);
    const uint32_t first = lines ? uint32_t((h >> 16) % lines) : 0;
    uint32_t value = white;
    // Outliers sit on consecutive lines from `first` on: low ones, then high ones.
    const uint32_t offset = lines ? (line + lines - first) % lines : 0;
    if (offset < lowCount && offset < lines) {
        value = white - (300 + uint32_t((h >> 24) % 500));
    } else if (offset >= lowCount && offset < lowCount + highCount && offset < lines) {
        value = std::min<uint32_t>(4095, white + 100 + uint32_t((h >> 40) % 300));
    }
    return uint16_t(value | ((line & 15u) << 12));
}
