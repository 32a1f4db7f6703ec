#include "window/preview_image.h"

PrescanRead LoadPreviewImage(const char* path, PreviewImage& preview) {
    PreviewBitmap image, working;
    const PrescanRead read = ReadPrescanBitmap(path, image);
    if (read == PrescanRead::NoFile || read == PrescanRead::Malformed) {
        FreePreviewImage(preview);
        return read;
    }
    if (read != PrescanRead::Read) return read;
    if (!MakePreviewWorkingCopy(image, working)) {
        FreePreviewBitmap(image);
        return PrescanRead::OutOfMemory;
    }
    ReplacePreviewBitmap(preview.asRead, image);
    ReplacePreviewBitmap(preview.working, working);
    preview.render.newImage = true;
    return PrescanRead::Read;
}

void FreePreviewImage(PreviewImage& preview) {
    FreePreviewBitmap(preview.asRead);
    FreePreviewBitmap(preview.working);
    preview.render.rendered = false;
}
