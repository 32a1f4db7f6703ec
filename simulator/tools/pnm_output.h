// A reference image as a binary PNM file that any image reader opens: line art as P4 (whose
// 1 is black, so the scanner's 1 = white bits are inverted), gray as P5, colour as P6 with 8-bit
// samples, 36-bit colour as P6 with 16-bit samples (big-endian, as PNM stores them).
#pragma once

#include <string>

#include "simulator/device/reference.h"

std::string PnmBytes(const ReferenceImage& image);

bool WritePnm(const ReferenceImage& image, const std::string& path, std::string& error);
