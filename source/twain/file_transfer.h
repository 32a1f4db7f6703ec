// DAT_IMAGEFILEXFER / MSG_GET: the whole image into the file named by DAT_SETUPFILEXFER, as
// TIFF or BMP, in one call.
#pragma once

#include "common/twain.h"

void FileTransfer(TW_MEMREF data);
