// The image information the source reports before a transfer, printed one "key: value" per
// line so that tests and people read the same text.
#pragma once

#include <string>

#include "common/twain.h"

namespace twainscan {

// "image XResolution: 150", "image ImageWidth: 450", ... "image PixelType: TWPT_RGB".
std::string ImageInfoLines(const TW_IMAGEINFO& info);

}  // namespace twainscan
