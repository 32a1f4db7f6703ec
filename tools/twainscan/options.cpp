#include "tools/twainscan/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <cmath>
#include <set>

namespace twainscan {
namespace {

// TWAIN strings hold 33 characters; longer names could never match a listed source.
constexpr size_t kMaxTwainText = 33;
// Resolutions and frame edges travel as FIX32, whose whole part is a signed 16-bit value.
constexpr int kMaxFix32Whole = 32767;
constexpr int kMaxBufferBytes = 64 * 1024 * 1024;

using Setter = bool (*)(Options& o, const std::string& value, std::string& error);

struct OptionSpec {
    const char* name;
    bool takesValue;
    Setter set;
};

bool ParseInt(const std::string& text, int& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ParseDouble(const std::string& text, double& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out, std::chars_format::fixed);
    return ec == std::errc() && ptr == end && !text.empty() && std::isfinite(out);
}

bool SetTwainText(std::string& field, const char* option, const std::string& value,
                  std::string& error) {
    if (value.empty() || value.size() > kMaxTwainText) {
        error = std::string(option) + " needs a name of 1 to 33 characters";
        return false;
    }
    field = value;
    return true;
}

bool SetSource(Options& o, const std::string& v, std::string& e) {
    return SetTwainText(o.sourceName, "--source", v, e);
}

bool SetAppName(Options& o, const std::string& v, std::string& e) {
    return SetTwainText(o.appName, "--app-name", v, e);
}

// The classic manager, or the TWAIN Working Group's (what 64-bit applications load); a
// file name is not a path, so one of the two names in any letter case.
bool SetManager(Options& o, const std::string& v, std::string& e) {
    for (const char* name : {"twain_32.dll", "TWAINDSM.dll"}) {
        if (v.size() == std::strlen(name) &&
            std::equal(v.begin(), v.end(), name, [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            o.managerLibrary = name;
            return true;
        }
    }
    e = "--manager takes twain_32.dll or TWAINDSM.dll, not \"" + v + "\"";
    return false;
}

bool SetPixel(Options& o, const std::string& v, std::string& e) {
    if (v == "bw") o.pixel = PixelKind::BlackWhite;
    else if (v == "gray") o.pixel = PixelKind::Gray;
    else if (v == "rgb") o.pixel = PixelKind::Rgb;
    else e = "--pixel takes bw, gray or rgb, not \"" + v + "\"";
    return o.pixel.has_value();
}

bool SetResolution(Options& o, const std::string& v, std::string& e) {
    int dpi = 0;
    if (!ParseInt(v, dpi) || dpi < 1 || dpi > kMaxFix32Whole) {
        e = "--res takes a whole number of dots per inch from 1 to 32767, not \"" + v + "\"";
        return false;
    }
    o.resolution = dpi;
    return true;
}

bool SetFrame(Options& o, const std::string& v, std::string& e) {
    double edge[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t comma = v.find(',', start);
        bool last = i == 3;
        if (last != (comma == std::string::npos) ||
            !ParseDouble(v.substr(start, comma - start), edge[i]) || edge[i] < 0 ||
            edge[i] > kMaxFix32Whole) {
            e = "--frame takes four inch values L,T,R,B, not \"" + v + "\"";
            return false;
        }
        start = comma + 1;
    }
    if (edge[0] >= edge[2] || edge[1] >= edge[3]) {
        e = "--frame needs left < right and top < bottom";
        return false;
    }
    o.frame = FrameInches{edge[0], edge[1], edge[2], edge[3]};
    return true;
}

bool SetXfer(Options& o, const std::string& v, std::string& e) {
    if (v == "native") o.xfer = XferKind::Native;
    else if (v == "memory") o.xfer = XferKind::Memory;
    else if (v == "file") o.xfer = XferKind::File;
    else e = "--xfer takes native, memory or file, not \"" + v + "\"";
    return o.xfer.has_value();
}

bool SetFormat(Options& o, const std::string& v, std::string& e) {
    if (v == "tiff") o.format = FileFormat::Tiff;
    else if (v == "bmp") o.format = FileFormat::Bmp;
    else e = "--format takes tiff or bmp, not \"" + v + "\"";
    return o.format.has_value();
}

bool SetOut(Options& o, const std::string& v, std::string& e) {
    if (v.empty()) {
        e = "--out needs a path";
        return false;
    }
    o.outPath = v;
    return true;
}

bool SetCount(Options& o, const std::string& v, std::string& e) {
    int n = 0;
    if (!ParseInt(v, n) || n == 0 || n < -1 || n > kMaxFix32Whole) {
        e = "--count takes 1 to 32767, or -1 for every image, not \"" + v + "\"";
        return false;
    }
    o.count = n;
    return true;
}

// Bounded so that a typing mistake cannot ask for gigabytes; the source says what it prefers.
bool SetBuffer(Options& o, const std::string& v, std::string& e) {
    int n = 0;
    if (!ParseInt(v, n) || n < 1 || n > kMaxBufferBytes) {
        e = "--buffer takes 1 to " + std::to_string(kMaxBufferBytes) + " bytes, not \"" + v + "\"";
        return false;
    }
    o.bufferBytes = static_cast<unsigned>(n);
    return true;
}

bool SetWait(Options& o, const std::string& v, std::string& e) {
    int n = 0;
    if (!ParseInt(v, n) || n < 1 || n > 3600) {
        e = "--wait takes 1 to 3600 seconds, not \"" + v + "\"";
        return false;
    }
    o.waitSeconds = n;
    return true;
}

bool SetOpenCycles(Options& o, const std::string& v, std::string& e) {
    int n = 0;
    if (!ParseInt(v, n) || n < 1 || n > 100) {
        e = "--open takes 1 to 100, not \"" + v + "\"";
        return false;
    }
    o.openCycles = n;
    return true;
}

bool SetHelp(Options& o, const std::string&, std::string&) { return o.help = true; }
bool SetList(Options& o, const std::string&, std::string&) { return o.list = true; }
bool SetIdentity(Options& o, const std::string&, std::string&) { return o.identity = true; }
bool SetShowUI(Options& o, const std::string&, std::string&) { return o.showUI = true; }

const OptionSpec kOptions[] = {
    {"--help", false, SetHelp},         {"--list", false, SetList},
    {"--identity", false, SetIdentity}, {"--source", true, SetSource},
    {"--app-name", true, SetAppName},   {"--pixel", true, SetPixel},
    {"--res", true, SetResolution},     {"--frame", true, SetFrame},
    {"--xfer", true, SetXfer},          {"--format", true, SetFormat},
    {"--out", true, SetOut},            {"--showui", false, SetShowUI},
    {"--count", true, SetCount},        {"--open", true, SetOpenCycles},
    {"--buffer", true, SetBuffer},      {"--wait", true, SetWait},
    {"--manager", true, SetManager},
};

// Options that only mean something for one transfer mechanism.
bool CheckCombination(const Options& o, std::string& error) {
    if (o.format && o.xfer != XferKind::File) error = "--format needs --xfer file";
    else if (o.bufferBytes && o.xfer != XferKind::Memory) error = "--buffer needs --xfer memory";
    return error.empty();
}

const OptionSpec* FindOption(const std::string& name) {
    for (const OptionSpec& spec : kOptions)
        if (name == spec.name) return &spec;
    return nullptr;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    std::set<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const OptionSpec* spec = FindOption(args[i]);
        if (!spec) {
            result.error = "unknown option \"" + args[i] + "\" (see --help)";
            return result;
        }
        if (!seen.insert(spec->name).second) {
            result.error = std::string(spec->name) + " is given twice";
            return result;
        }
        std::string value;
        if (spec->takesValue) {
            // A following option is never taken as a value: "--source --list" is a mistake.
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
                result.error = std::string(spec->name) + " needs a value";
                return result;
            }
            value = args[++i];
        }
        if (!spec->set(result.options, value, result.error)) return result;
    }
    result.ok = CheckCombination(result.options, result.error);
    return result;
}

bool WantsAcquisition(const Options& o) {
    bool acquisitionOption = o.pixel || o.resolution || o.frame || o.xfer || o.format ||
                             o.outPath || o.showUI || o.count || o.bufferBytes;
    return acquisitionOption || (!o.list && !o.identity && o.openCycles == 0);
}

std::string OutputPath(const Options& o) {
    if (o.outPath) return *o.outPath;
    const bool bmp = o.xfer.value_or(XferKind::Native) == XferKind::Native ||
                     (o.xfer == XferKind::File && o.format == FileFormat::Bmp);
    return bmp ? "scan.bmp" : "scan.tif";
}

const char* UsageText() {
    return "usage: twainscan [--manager twain_32.dll|TWAINDSM.dll] [--list] [--identity]\n"
           "                 [--open N] [--source NAME] [--app-name NAME]\n"
           "                 [--pixel bw|gray|rgb] [--res DPI] [--frame L,T,R,B]\n"
           "                 [--xfer native|memory|file] [--format tiff|bmp] [--out PATH]\n"
           "                 [--showui] [--count N] [--buffer BYTES] [--wait SECONDS]\n"
           "  --manager     the source manager library to load (default twain_32.dll;\n"
           "                TWAINDSM.dll is the one 64-bit applications load)\n"
           "  --list        print every source the TWAIN source manager lists\n"
           "  --identity    print the chosen source's identity as the manager lists it\n"
           "  --open N      open and close the chosen source N times, printing the identity\n"
           "                each open returns\n"
           "  --source      choose the source with exactly this ProductName (default: the\n"
           "                one whose ProductName ends with \"A3 Flatbed Scanner\")\n"
           "  --app-name    ProductName this application reports (default \"twainscan\")\n"
           "  --pixel, --res, --frame (inches), --xfer (default native), --format (file\n"
           "                transfer only), --out (default scan.bmp or scan.tif), --showui,\n"
           "                --count (images to take, -1 every pending one; default 1)\n"
           "                acquisition settings; without --list, --identity or --open an\n"
           "                image is acquired, and with them after them\n"
           "  --buffer      memory transfer buffer size (default: the source's preferred size)\n"
           "  --wait        seconds to wait for the image to be ready (default 120)\n"
           "The last line is \"TWAINSCAN OK\" or \"TWAINSCAN FAILED: reason\".\n";
}

}  // namespace twainscan
