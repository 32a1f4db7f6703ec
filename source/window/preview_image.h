// The preview's image: the prescan image as read from the prescan library's bitmap (never
// changed until the next prescan), the working copy that is painted, and their render state.
#pragma once

#include "window/prescan_bitmap_file.h"
#include "window/preview_bitmap.h"
#include "window/preview_render.h"

struct PreviewImage {
    PreviewBitmap asRead;
    PreviewBitmap working;
    PreviewRenderState render;
};

// Reads the bitmap at path (PrescanBitmapFilePath after a prescan) and makes its working
// copy; the next paint renders. A missing or malformed file leaves no image; without memory
// (OutOfMemory, message 604) the previous images stay.
PrescanRead LoadPreviewImage(const char* path, PreviewImage& preview);
void FreePreviewImage(PreviewImage& preview);
