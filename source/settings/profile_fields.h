// Decimal text in profile values: single numbers and fixed-width lists of numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/profile_text.h"

// Fields formatted "%-<width>d" and concatenated without separators.
std::string FixedWidthList(const std::vector<int32_t>& values, int width);

bool WriteProfileDecimal(const char* section, const char* key, int32_t value);
