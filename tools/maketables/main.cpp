// maketables DIR: writes the table files the source reads into DIR\TWAIN_32\KVTC_A3 and
// DIR\TWAIN_32\COLOR, DIR standing for the Windows directory (see table_content.h).
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/maketables/table_content.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: maketables DIR\n");
        return 2;
    }
    for (const TableFile& table : AllTableFiles()) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "TWAIN_32" / table.folder;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        std::ofstream out(folder / table.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(table.bytes.data()), std::streamsize(table.bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "maketables: cannot write %s\n", (folder / table.name).string().c_str());
            return 1;
        }
        std::printf("%s (%zu bytes)\n", (folder / table.name).string().c_str(), table.bytes.size());
    }
    return 0;
}
