// The CMYK lattice and colour-table loaders fed with any file bytes, from memory and through
// a real file under the Windows directory, then a conversion of a few pixels with whatever
// table was accepted.
//
// Input: a mode byte (bit 0: CMYK or colour table, bit 1: through a file, bit 2: bitmap
// order or complemented output), 8 pixels (24 bytes), then the file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/cmyk_table.h"
#include "engine/color_table.h"
#include "engine/table_file.h"
#include "platform/host/host_control.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr uint32_t kPixels = 8;

const plat::host::ScratchDirectory& WindowsDir() {
    static plat::host::ScratchDirectory dir;
    return dir;
}

std::string WriteTableFile(const char* folder, const char* name, const std::vector<uint8_t>& bytes) {
    const std::string path = WindowsDir().Subdirectory(std::string("TWAIN_32/") + folder) + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

void CheckNoBlocks() {
    if (plat::host::LiveBlocks() == 0) return;
    std::fprintf(stderr, "==FUZZ HARNESS== table blocks left after freeing\n");
    std::abort();
}

void Cmyk(bool viaFile, bool complement, const uint8_t* pixels, const std::vector<uint8_t>& file) {
    CmykTable table;
    bool loaded;
    if (viaFile) {
        char path[300];
        WriteTableFile("KVTC_A3", "cmyk.tab", file);
        loaded = TableFilePath("KVTC_A3", "cmyk.tab", path, sizeof path) && LoadCmykTableFile(path, &table);
    } else {
        loaded = CmykTableFromBytes(file.data(), file.size(), &table);
    }
    // Room for the pixels grown to four bytes, and a smaller block that cannot hold them.
    uint8_t block[kPixels * 4] = {};
    std::memcpy(block, pixels, kPixels * 3);
    const bool converted = ConvertBlockToCmyk(table, block, kPixels * 3, sizeof block, complement);
    if (converted != loaded) {
        std::fprintf(stderr, "==FUZZ HARNESS== CMYK conversion %d with table %d\n", converted, loaded);
        std::abort();
    }
    ConvertBlockToCmyk(table, block, kPixels * 3, kPixels * 3 + 1, complement);
    FreeCmykTable(table);
}

void Colour(bool viaFile, bool bitmapOrder, uint8_t* pixels, const std::vector<uint8_t>& file) {
    if (viaFile) {
        WriteTableFile("COLOR", "corvA3.tab", file);
        LoadColorTableFile("corvA3.tab");
        ApplyColorTable(TheColorTable, 2, kPixels / 2, pixels, kPixels / 2 * 3, bitmapOrder);
        FreeColorTable(TheColorTable);
        return;
    }
    ColorTable table;
    LoadColorTable(table, file.data(), file.size());
    ApplyColorTable(table, 2, kPixels / 2, pixels, kPixels / 2 * 3, bitmapOrder);
    FreeColorTable(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::host::Reset();
    plat::host::SetWindowsDirectory(WindowsDir().path());
    FuzzInput in(data, size);
    const uint8_t mode = in.U8();
    uint8_t pixels[kPixels * 3];
    in.Fill(pixels, sizeof pixels);
    std::vector<uint8_t> file(in.Remaining());
    in.Fill(file.data(), file.size());
    if (mode & 1)
        Colour(mode & 2, mode & 4, pixels, file);
    else
        Cmyk(mode & 2, mode & 4, pixels, file);
    CheckNoBlocks();
    return 0;
}
