#include "tools/twainscan/file_xfer.h"

#include <cstdio>
#include <cstring>

#include "tools/twainscan/capability_calls.h"
#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

TW_UINT16 TwainFormat(FileFormat format) { return format == FileFormat::Bmp ? TWFF_BMP : TWFF_TIFF; }

TW_UINT16 SetUp(SourceLink& link, const std::string& path, TW_UINT16 format) {
    TW_SETUPFILEXFER setup{};
    std::memcpy(setup.FileName, path.data(), path.size());
    setup.Format = format;
    return CallSource(link, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
}

// The source's condition for a refused call, without the text around it.
TW_UINT16 ConditionOf(SourceLink& link) {
    TW_STATUS status{};
    return CallSource(link, DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS
               ? status.ConditionCode
               : TWCC_BUMMER;
}

// Size and kind of the file the source wrote, or false when there is none worth the name.
bool InspectFile(const std::string& path, std::string& kind, long& size, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "the source answered TWRC_XFERDONE but " + path + " cannot be opened";
        return false;
    }
    unsigned char head[4] = {};
    const size_t got = std::fread(head, 1, sizeof head, file);
    size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    std::fclose(file);
    kind = ImageFileKind(head, got);
    if (kind.empty()) error = "the file the source wrote (" + path + ") is neither TIFF nor BMP";
    return !kind.empty();
}

}  // namespace

std::string ImageFileKind(const unsigned char* head, size_t bytes) {
    if (bytes >= 2 && head[0] == 'B' && head[1] == 'M') return "BMP";
    if (bytes >= 4 && ((std::memcmp(head, "II*", 4) == 0) || std::memcmp(head, "MM\0*", 4) == 0))
        return "TIFF";
    return "";
}

bool SetUpFileTransfer(SourceLink& link, MemoryBlocks& blocks, FileFormat format,
                       const std::string& path, const Printer& print, std::string& error) {
    if (path.size() >= sizeof(TW_SETUPFILEXFER::FileName)) {
        error = "the output path is longer than the 255 characters DAT_SETUPFILEXFER holds";
        return false;
    }
    const TW_UINT16 wanted = TwainFormat(format);
    TW_UINT16 rc = SetUp(link, path, wanted);
    if (rc != TWRC_SUCCESS && wanted != TWFF_TIFF && ConditionOf(link) == TWCC_BADVALUE) {
        print("note: DAT_SETUPFILEXFER takes only TWFF_TIFF; " + FileFormatName(wanted) +
              " is asked for through ICAP_IMAGEFILEFORMAT\n");
        rc = SetUp(link, path, TWFF_TIFF);
    }
    if (rc != TWRC_SUCCESS) {
        error = SourceFailure(link, "DAT_SETUPFILEXFER", rc);
        return false;
    }
    if (!SetAndVerify(link, blocks, ICAP_IMAGEFILEFORMAT, TWTY_UINT16, wanted, error)) return false;
    print("DAT_SETUPFILEXFER: " + path + ", " + FileFormatName(wanted) + "\n");
    return true;
}

bool TransferFile(SourceLink& link, MemoryBlocks& blocks, FileFormat format,
                  const std::string& path, const Printer& print, std::string& error) {
    // A file left from an earlier run must not pass for this transfer's result.
    std::remove(path.c_str());
    const TW_UINT16 rc = CallSource(link, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
    if (rc != TWRC_XFERDONE) {
        error = rc == TWRC_CANCEL ? "DAT_IMAGEFILEXFER was cancelled (TWRC_CANCEL)"
                                  : SourceFailure(link, "DAT_IMAGEFILEXFER", rc);
        return false;
    }
    print("DAT_IMAGEFILEXFER: " + ReturnCodeName(rc) + "\n");
    std::string kind;
    long size = 0;
    if (!InspectFile(path, kind, size, error)) return false;
    const std::string asked = format == FileFormat::Bmp ? "BMP" : "TIFF";
    // The source may write TIFF where BMP was asked when its processing needs it.
    if (kind != asked) {
        TW_ONEVALUE now{};
        std::string why;
        const std::string current = GetCurrentOneValue(link, blocks, ICAP_IMAGEFILEFORMAT, now, why)
                                        ? FileFormatName(static_cast<TW_UINT16>(now.Item))
                                        : why;
        print("note: " + asked + " was asked for, the source wrote " + kind +
              " (ICAP_IMAGEFILEFORMAT now " + current + ")\n");
    }
    print("wrote " + path + ": " + kind + ", " + std::to_string(size) + " bytes\n");
    return true;
}

}  // namespace twainscan
