#include "imagefile/output_file.h"

#include "common/twain.h"
#include "imagefile/image_headers.h"
#include "session/call_codes.h"
#include "session/messages.h"

namespace {

constexpr uint32_t kWriteDiskFileError = 619;

plat::FileHandle ReportWriteFailure(plat::WindowHandle owner) {
    TheCall.SourceConditionCode = TWCC_OPERATIONERROR;
    ShowErrorMessage(owner, kWriteDiskFileError);
    return plat::kNoFile;
}

}  // namespace

bool OutputTiffGeometry(const OutputFileRequest& r, TiffGeometry* g) {
    *g = TiffGeometry{r.layout, r.bytesPerLine, r.lines, r.resolution};
    if (r.layout == PixelLayout::LineArt && r.pixelWidth % 8 != 0) g->lineArtPixels = r.pixelWidth;
    return true;
}

BmpGeometry OutputBmpGeometry(const OutputFileRequest& r) {
    return BmpGeometry{r.layout, r.pixelWidth, r.lines, r.alignedLineLength};
}

plat::FileHandle OpenOutputFile(plat::WindowHandle owner, const OutputFileRequest& r) {
    plat::FileHandle file = plat::kNoFile;
    if (r.fileFormat == TWFF_TIFF) {
        TiffGeometry g;
        if (OutputTiffGeometry(r, &g)) file = CreateTiffFile(r.path, g);
    } else if (r.fileFormat == TWFF_BMP) {
        file = CreateBmpFile(r.path, OutputBmpGeometry(r));
    }
    return file != plat::kNoFile ? file : ReportWriteFailure(owner);
}
