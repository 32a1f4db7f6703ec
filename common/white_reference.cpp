#include "common/white_reference.h"

#include <algorithm>
#include <vector>

bool WhiteReference(uint16_t* values, uint32_t lines, bool colour, uint16_t& average) {
    const uint32_t dropLow = colour ? 6 : 3;
    const uint32_t dropHigh = colour ? 2 : 3;
    if (lines <= dropLow + dropHigh) return false;
    // Only the extremes must go: two partial selections (linear) instead of a sort.
    std::nth_element(values, values + dropLow, values + lines);
    std::nth_element(values + dropLow, values + lines - dropHigh, values + lines);
    uint32_t sum = 0;
    for (uint32_t i = dropLow; i < lines - dropHigh; ++i) sum += values[i];
    average = static_cast<uint16_t>(sum / (lines - dropLow - dropHigh));
    return true;
}

bool WhiteReferences(const uint8_t* const* lines, uint32_t lineCount, uint32_t lead,
                     uint32_t positions, bool colour, uint16_t* averages) {
    std::vector<uint16_t> column(lineCount);
    for (uint32_t s = 0; s < positions; ++s) {
        const uint32_t at = lead + 2 * s;
        for (uint32_t l = 0; l < lineCount; ++l)
            column[l] = static_cast<uint16_t>((lines[l][at] | (lines[l][at + 1] << 8)) & 4095);
        if (!WhiteReference(column.data(), lineCount, colour, averages[s])) return false;
    }
    return true;
}
