#include "simulator/tools/reference_job.h"

#include <charconv>
#include <fstream>
#include <iterator>

#include "simulator/device/config.h"
#include "simulator/device/reference.h"
#include "simulator/device/scan_log.h"
#include "simulator/tools/ini_section.h"
#include "simulator/tools/pnm_output.h"

namespace {

bool ParseScanNumber(const std::string& text, int& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && out != 0;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return error = "cannot read " + path, false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

SimulatorConfig ConfigFromIni(const IniKeys& keys, std::vector<std::string>& problems) {
    SimulatorConfig config;
    ParseConfig(
        [&](const char* key, std::string& value) {
            const auto it = keys.find(key);
            return it != keys.end() && (value = it->second, true);
        },
        config, problems);
    return config;
}

// The logged scan `number` counts to (1-based from the start, negative from the end).
const LoggedScan* ChooseScan(const std::vector<LoggedScan>& scans, int number, size_t& index) {
    const long long count = static_cast<long long>(scans.size());
    const long long i = number > 0 ? number - 1 : count + number;
    if (i < 0 || i >= count) return nullptr;
    index = static_cast<size_t>(i);
    return &scans[index];
}

}  // namespace

bool ParseReferenceArgs(const std::vector<std::string>& args, ReferenceJob& job,
                        std::string& error) {
    job = ReferenceJob{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (i + 1 == args.size()) return error = name + " needs a value", false;
        const std::string& value = args[++i];
        if (name == "--ini") job.iniPath = value;
        else if (name == "--log") job.logPath = value;
        else if (name == "--out") job.outPath = value;
        else if (name == "--scan") {
            if (!ParseScanNumber(value, job.scan))
                return error = "--scan takes a non-zero scan number, not \"" + value + "\"", false;
        } else {
            return error = "unknown option " + name, false;
        }
    }
    if (job.logPath.empty() || job.outPath.empty()) return error = "give --log and --out", false;
    return true;
}

bool RunReferenceJob(const ReferenceJob& job, std::vector<std::string>& summary,
                     std::string& error) {
    IniKeys keys;
    if (!job.iniPath.empty() && !ReadIniSection(job.iniPath, kSimulatorSection, keys, error))
        return false;
    std::vector<std::string> problems;
    const SimulatorConfig config = ConfigFromIni(keys, problems);
    for (const std::string& p : problems) summary.push_back("Scanner Simulator: " + p);

    std::vector<uint8_t> log;
    std::vector<LoggedScan> scans;
    if (!ReadWholeFile(job.logPath, log, error)) return false;
    if (!ReplayScanLog(log.data(), log.size(), config.profile, scans, error))
        return error = job.logPath + ": " + error, false;
    size_t index = 0;
    const LoggedScan* scan = ChooseScan(scans, job.scan, index);
    if (!scan)
        return error = "no scan " + std::to_string(job.scan) + " among the " +
                       std::to_string(scans.size()) + " logged", false;

    ReferenceImage image;
    if (!RenderReference(config, {scan->window, &scan->tones}, image, error)) return false;
    // The scanner told the caller the geometry at the start; the render must agree with it.
    if (image.lines != scan->lines || image.bytesPerLine != scan->bytesPerLine)
        return error = "the render's geometry differs from the logged start reply", false;
    if (!WritePnm(image, job.outPath, error)) return false;
    summary.push_back("scan " + std::to_string(index + 1) + " of " + std::to_string(scans.size()) +
                      ": colour type " + std::to_string(image.colourType) + ", " +
                      std::to_string(image.pixels) + " x " + std::to_string(image.lines) +
                      " pixels at " + std::to_string(scan->window.resolution) + " dpi");
    return true;
}
