#include "simulator/device/reference.h"

#include "simulator/device/line_renderer.h"
#include "simulator/device/original.h"
#include "simulator/device/sensor.h"
#include "simulator/device/shading.h"

bool RenderScannerLines(const SimulatorConfig& config, const ReferenceRequest& request,
                        ShadingUse shading, ReferenceImage& out, std::string& error) {
    const ScanWindow& window = request.window;
    ScanGeometry geometry;
    if (PlanScan(config.profile, window, geometry) != WindowCheck::Ok)
        return error = "the scanner refuses this window", false;
    Original original;
    if (!LoadOriginal(config.original, config.originalDpi, original, error)) return false;
    SensorModel sensor;
    BuildSensor(config.profile, config.sensorSeed, sensor);
    const uint32_t scale = OpticalScale(config.profile);
    const ShadingLayout layout = PlanShading(window.colourType, window.fromDataSource, geometry.pixels);
    std::vector<uint16_t> coefficients;
    if (shading == ShadingUse::Correct)
        coefficients = IdealCoefficients(sensor, layout, window, scale, config.profile.calibration);
    std::vector<uint32_t> gains[3];
    ColumnGains(sensor, layout, window, scale, geometry.pixels, config.profile.calibration,
                coefficients, gains);
    ToneState tones;
    if (request.tones) {
        tones = *request.tones;
    } else {
        ResetTones(tones, ToneTableEntries(config.profile));
        tones.threshold = 127;  // (highlight 255 + shadow 0) / 2
    }
    LineRenderer renderer;
    PrepareRenderer(renderer, original, window, geometry, scale, gains, tones);
    out.colourType = window.colourType;
    out.pixels = window.colourType == kColourTypeLineArt ? geometry.bytesPerLine * 8 : geometry.pixels;
    out.lines = geometry.lines;
    out.bytesPerLine = geometry.bytesPerLine;
    out.data.assign(size_t(geometry.lines) * geometry.bytesPerLine, 0);
    for (uint32_t line = 0; line < geometry.lines; ++line)
        RenderLine(renderer, line, out.data.data() + size_t(line) * geometry.bytesPerLine);
    return true;
}

bool RenderReference(const SimulatorConfig& config, const ReferenceRequest& request,
                     ReferenceImage& out, std::string& error) {
    if (!RenderScannerLines(config, request, ShadingUse::Correct, out, error)) return false;
    if (out.colourType == kColourTypeColour36) {
        for (size_t i = 0; i + 1 < out.data.size(); i += 2) {
            const uint16_t s = uint16_t(((out.data[i] | (out.data[i + 1] << 8)) & 4095) * 16);
            out.data[i] = uint8_t(s);
            out.data[i + 1] = uint8_t(s >> 8);
        }
    }
    return true;
}

ToneState ToneStateFromCurves(const uint8_t (&curves)[kToneSlots][256], uint16_t entries,
                              uint8_t threshold) {
    ToneState tones;
    tones.entries = entries;
    for (size_t s = 0; s < kToneSlots; ++s) SpreadCurve(curves[s], entries, tones.slots[s]);
    tones.threshold = threshold;
    return tones;
}
