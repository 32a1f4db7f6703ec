#include "engine/delivered_image.h"

bool DeliveredImageOf(const ScanJobState& job, uint16_t scanMode, uint16_t subMode,
                      const DescreenDropMaps& maps, DeliveredImage* image, bool reducing) {
    const ImageGeometry& g = job.geometry;
    DeliveredImage d;
    // Maps are used only when they were built for this very scan.
    d.reduced = reducing && job.resolution.reduceDescreened && maps.block &&
                maps.lineBytes == g.bytesPerLine && maps.lines == g.lines;
    RowInput in;
    in.bytesPerLine = d.reduced ? maps.keptBytes : g.bytesPerLine;
    in.scanMode = scanMode;
    in.subMode = subMode;
    in.plan = job.resolution;
    if (!ShapeRows(in, &d.shape)) return false;
    d.shape.scanBytes = g.bytesPerLine;
    d.lines = d.reduced ? maps.keptLines : g.lines;
    const uint64_t rows = DeliveredCount(d.lines, job.resolution);
    if (rows == 0 || rows > 0x7FFFFFFF) return false;
    d.rows = uint32_t(rows);
    *image = d;
    return true;
}
