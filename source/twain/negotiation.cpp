#include "twain/negotiation.h"

#include <cstring>

#include "platform/platform.h"

NegotiationRecord TheNegotiation;

void ResetNegotiation(NegotiationRecord& record, const char* fileName) {
    record = NegotiationRecord{};
    record.ImageInfoRecord.Planar = 1;
    record.ImageInfoRecord.PixelType = TWPT_RGB;
    record.ImageInfoRecord.Compression = TWCP_NONE;
    record.DefaultLayout.DocumentNumber = 1;
    record.DefaultLayout.PageNumber = 1;
    record.DefaultLayout.FrameNumber = 1;
    record.CurrentLayout = record.DefaultLayout;
    std::strncpy(record.DefaultFileSetup.FileName, fileName,
                 sizeof record.DefaultFileSetup.FileName - 1);
    record.DefaultFileSetup.Format = TWFF_TIFF;
    record.CurrentFileSetup = record.DefaultFileSetup;
}

std::string MakeTransferFileName(const char* extensionText) {
    char dir[256] = {};
    if (plat::TempPath(dir, sizeof dir) == 0) return {};
    char name[260] = {};
    if (plat::TempFileName(dir, "CORVANE", 0, name) == 0) return {};
    plat::FileDelete(name);
    std::string result = name;
    const size_t dot = result.rfind('.');
    if (dot != std::string::npos) result.resize(dot);
    return result + extensionText;
}
