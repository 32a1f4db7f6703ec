// Every WIN.INI key the source reads, with any text: the identity at process attach, the
// language, port library name and source language at open, the lamp saver at bring-up, the
// scan settings of the model's section and the slow-speed key when a scan starts. The source
// is then opened, asked for its text capabilities, and scans a small frame into memory.
//
// Input: a byte choosing the model, pixel type, resolution, whether the scanner answers and
// whether the application is the one the source answers the text capabilities (author,
// caption, time and date) for, then (key, value) pairs: one byte picks the key, a
// length-prefixed value follows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fuzz/app_calls.h"
#include "twain/negotiation.h"

namespace {

struct Key {
    const char* section;  // nullptr: the model's settings section
    const char* name;
};

constexpr Key kKeys[] = {
    {"KVTINFO_A3", "BRAND"},      {"KVTINFO_A3", "1200"},       {"KVTINFO_A3", "SWVERSION"},
    {"KVTINFO_A3", "LANGUAGE"},   {"KVTINFO_A3", "DSLANGUAGE"}, {"KVTINFO_A3", "DRIVER"},
    {"KVTINFO_A3", "SlowSpeedVer"}, {"A3 SCANNER", "SAVER"},
    {nullptr, "ScanMode"},        {nullptr, "ScanSource"},      {nullptr, "ScanRes"},
    {nullptr, "CustomRes"},       {nullptr, "Destination"},     {nullptr, "Quality Factor"},
    {nullptr, "DeScreen"},        {nullptr, "OutputMatch"},     {nullptr, "Scaling"},
    {nullptr, "Highlight"},       {nullptr, "Shadow"},          {nullptr, "Gamma"},
    {nullptr, "Hue"},             {nullptr, "CirclePos"},       {nullptr, "PixelRGB"},
    {nullptr, "Saturation"},      {nullptr, "ColorBalance"},    {nullptr, "Channel"},
    {nullptr, "DpiScale"},        {nullptr, "Velocity"},        {nullptr, "UnitFlag"},
    {nullptr, "OutputMode"},      {nullptr, "FilterMode"},      {nullptr, "Frame"},
};

struct Model {
    const char* simulatorModel;
    const char* section;
};
constexpr Model kModels[] = {{"600", "KVT-4100PRO"}, {"606", "KVT-4160S"},
                             {"800", "KVT-4300PRO"}, {"1200", "A3 SCANNER"}};

SourceHarness& Harness() {
    static SourceHarness harness(KV_SIMULATOR_PORTLIB, {"QASPI_SP.DLL"});
    return harness;
}

// A profile value is one line: line breaks and zeros end it, so they cannot be in it. The
// port library's name stays a name inside the driver folder.
std::string Value(FuzzInput& in, bool fileName) {
    std::string v = in.Text(300);
    for (char& c : v) {
        if (c == '\n' || c == '\r' || c == '\0') c = ' ';
        if (fileName && (c == '/' || c == '\\')) c = '_';
    }
    return v;
}

std::string Ini(FuzzInput& in, const Model& model, bool scannerAnswers) {
    std::map<std::string, std::string> sections;
    while (!in.Empty()) {
        const Key& key = in.PickFrom(kKeys);
        const std::string section = key.section ? key.section : model.section;
        sections[section] += std::string(key.name) + "=" +
                             Value(in, std::string(key.name) == "DRIVER") + "\n";
    }
    std::string ini = SimulatorIni(model.simulatorModel, false, false) +
                      (scannerAnswers ? "" : "Handle=0\n");
    for (const auto& [name, lines] : sections) ini += "[" + name + "]\n" + lines;
    return ini;
}

void AskTexts(SourceHarness& h) {
    for (TW_UINT16 capId : {CAP_AUTHOR, CAP_CAPTION, CAP_TIMEDATE, CAP_SUPPORTEDCAPS}) {
        TW_CAPABILITY cap{capId, TWON_DONTCARE16, nullptr};
        h.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap);
        h.Receive(cap.hContainer);
    }
}

void ScanSmallFrame(SourceHarness& h, uint8_t pixelType) {
    TW_IMAGELAYOUT layout{};
    layout.Frame = {{0, 0}, {0, 0}, {1, 0}, {1, 0}};  // one inch square
    h.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    TheNegotiation.PixelTypeIndex = pixelType;
    TheNegotiation.ResolutionIndex = 0;  // 75 dpi
    TW_USERINTERFACE ui{0, 0, nullptr};
    if (h.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) return;
    std::vector<uint8_t> buffer(16384);
    TW_IMAGEMEMXFER mem{};
    for (int i = 0; i < 200; ++i) {
        mem.Memory = {TWMF_APPOWNS | TWMF_POINTER, uint32_t(buffer.size()), buffer.data()};
        if (h.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &mem) != TWRC_SUCCESS) break;
    }
    TW_PENDINGXFERS pending{};
    h.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    SourceHarness& h = Harness();
    const uint8_t choice = in.U8();
    h.Begin(Ini(in, kModels[choice & 3], !(choice & 0x80)));
    if (choice & 0x40) {  // string 62 of the English block
        std::memset(h.app.ProductName, 0, sizeof h.app.ProductName);
        plat::LoadResourceString(62, h.app.ProductName, sizeof h.app.ProductName);
    }
    if (h.Open() == TWRC_SUCCESS) {
        AskTexts(h);
        ScanSmallFrame(h, (choice >> 2) % 3);
    }
    h.End();
    return 0;
}
