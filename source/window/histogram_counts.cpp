#include "window/histogram_counts.h"

#include <cstring>

bool CountHistogram(const PreviewBitmap& image, const PrescanRect& p, HistogramCounts& out) {
    std::memset(&out, 0, sizeof out);
    if (!PartInsideImage(image, p)) return false;
    LockedBitmap pixels(image);
    if (!pixels.ok()) return false;
    const uint32_t firstStored = image.height - (p.top + p.height);
    for (uint32_t j = 0; j < p.height; ++j) {
        const uint8_t* bgr = pixels.row(firstStored + j) + size_t(p.left) * 3;
        for (uint32_t x = 0; x < p.width; ++x, bgr += 3) {
            ++out.blue[bgr[0]];
            ++out.green[bgr[1]];
            ++out.red[bgr[2]];
            ++out.mean[(bgr[0] + bgr[1] + bgr[2]) / 3];
        }
    }
    return true;
}
