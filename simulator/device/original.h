// What lies on the bed, as each scan source sees it: the print (the built-in chart or an image
// file) for the flatbed and the feeder; for the transparency unit a film frame of that print,
// positive or negative, in an opaque holder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/device/chart.h"
#include "simulator/device/pnm_image.h"

struct Original {
    bool isImage = false;
    PnmImage image;
    uint32_t imageDpi = 100;
};

// Empty path: the chart.
bool LoadOriginal(const std::string& path, uint32_t dpi, Original& original, std::string& error);

// The film frame on the bed, in mils, and how it maps onto the print.
struct FilmFrame {
    int32_t left = 3350, top = 1000, right = 8350, bottom = 7000;
};

// The original seen by one source across a scan's columns.
struct OriginalView {
    const Original* original = nullptr;
    uint8_t source = 0;
    std::vector<int32_t> xMil;    // bed position of each column
    std::vector<int32_t> printX;  // the print position each column sees
};

void PrepareView(OriginalView& view, const Original& original, uint8_t source,
                 std::vector<int32_t> columnMils);

// Rows with equal keys are equal in every column of the view.
uint64_t ViewRowKey(const OriginalView& view, int32_t yMil);
void ViewRow(const OriginalView& view, int32_t yMil, Rgb12* out);
