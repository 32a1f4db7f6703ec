#include "tools/twainscan/native_xfer.h"

#include "tools/twainscan/dib_file.h"
#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

std::string SizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// A bitmap that disagrees with the announced image is worth a line, not a failure: the
// bitmap itself is complete and consistent (36-bit colour, for one, arrives as 24 bits).
void NoteDifferences(const DibLayout& dib, const TW_IMAGEINFO& info, const Printer& print) {
    const int64_t lines = dib.height < 0 ? -int64_t(dib.height) : dib.height;
    if (dib.width != info.ImageWidth || lines != info.ImageLength)
        print("warning: the bitmap is " + SizeText(dib.width, lines) + ", the image info said " +
              SizeText(info.ImageWidth, info.ImageLength) + "\n");
    if (dib.bitCount != info.BitsPerPixel)
        print("note: the bitmap has " + std::to_string(dib.bitCount) +
              " bits per pixel, the image info said " + std::to_string(info.BitsPerPixel) + "\n");
}

bool WriteBitmap(MemoryBlocks& blocks, TW_HANDLE bitmap, const TW_IMAGEINFO& info,
                 const std::string& path, const Printer& print, std::string& error) {
    const auto* dib = static_cast<const uint8_t*>(blocks.Lock(bitmap));
    if (!dib) {
        error = "cannot lock the native bitmap";
        return false;
    }
    DibLayout layout;
    bool ok = ReadDibLayout(dib, blocks.Size(bitmap), layout, error);
    if (ok) {
        NoteDifferences(layout, info, print);
        ok = WriteDibAsBmp(dib, layout, path, error);
    }
    blocks.Unlock(bitmap);
    if (ok)
        print("wrote " + path + ": " + SizeText(layout.width, layout.height) + ", " +
              std::to_string(layout.bitCount) + " bits per pixel\n");
    return ok;
}

}  // namespace

bool TransferNative(SourceLink& link, MemoryBlocks& blocks, const TW_IMAGEINFO& info,
                    const std::string& path, const Printer& print, std::string& error) {
    TW_UINTPTR handle = 0;
    const TW_UINT16 rc = CallSource(link, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    if (rc != TWRC_XFERDONE) {
        // On cancel or failure the block, if any, stays the source's.
        error = rc == TWRC_CANCEL ? "DAT_IMAGENATIVEXFER was cancelled (TWRC_CANCEL)"
                                  : SourceFailure(link, "DAT_IMAGENATIVEXFER", rc);
        return false;
    }
    print("DAT_IMAGENATIVEXFER: " + ReturnCodeName(rc) + "\n");
    if (handle == 0) {
        error = "DAT_IMAGENATIVEXFER answered TWRC_XFERDONE without a bitmap";
        return false;
    }
    auto* bitmap = reinterpret_cast<TW_HANDLE>(handle);
    const bool ok = WriteBitmap(blocks, bitmap, info, path, print, error);
    blocks.Free(bitmap);
    return ok;
}

}  // namespace twainscan
