// Inquiry, set-up, tone tables, stop and status.
#include <cstring>

#include "simulator/device/device.h"

namespace {

bool SameShadingSettings(const ScanWindow& a, const ScanWindow& b) {
    return a.xStart == b.xStart && a.xEnd == b.xEnd && a.resolution == b.resolution &&
           a.source == b.source && a.fromDataSource == b.fromDataSource &&
           PlanShading(a.colourType, a.fromDataSource, 1).kind ==
               PlanShading(b.colourType, b.fromDataSource, 1).kind;
}

void ApplyLampSaver(Device& device, SetParametersBlock& block) {
    const uint16_t minutes = block.lampSaverMinutes;
    if (!((minutes >= 5 && minutes <= 120) || minutes == 255)) {
        block.header.status = kStatusInvalid;
        return;
    }
    device.lampSaverMinutes = minutes;
    block.header.status = kScanStatusOk;
}

// Status for a set-up whose fields are valid, from the fault script and the options' state.
uint16_t SetupCondition(const Device& device, uint8_t source) {
    if (device.config.faults.setupStatus != 0) return device.config.faults.setupStatus;
    if (source == 3 && device.feederPagesLeft == 0) return kScanStatusNoPaper;
    if ((source == 1 || source == 2) && device.config.coverOpen) return kScanStatusCoverOpen;
    return kScanStatusOk;
}

}  // namespace

void HandleInquiry(Device& device, InquiryBlock& block) {
    FillInquiry(device.config.profile, block);
    block.header.status = device.config.faults.inquiryStatus;
}

void HandleSetParameters(Device& device, SetParametersBlock& block) {
    if (block.lampSaverOnly == 1) return ApplyLampSaver(device, block);
    block.shadingNeeded = block.shadingKind = block.replyState = 0;
    if (block.lampSaverOnly != 0 || block.fromDataSource > 1) {
        block.header.status = kStatusInvalid;
        return;
    }
    if (WarmingUp(device) || device.phase == DevicePhase::Scanning) {
        block.header.status = kStatusBusy;
        return;
    }
    ScanWindow w;
    w.xStart = block.xStart, w.yStart = block.yStart, w.xEnd = block.xEnd, w.yEnd = block.yEnd;
    w.source = block.source;
    w.colourType = block.colourType;
    w.resolution = block.resolution;
    w.fromDataSource = block.fromDataSource == 1;
    ScanGeometry g;
    if (PlanScan(device.config.profile, w, g) != WindowCheck::Ok) {
        block.header.status = kStatusInvalid;
        return;
    }
    const uint16_t condition = SetupCondition(device, w.source);
    if (condition != kScanStatusOk) {
        block.header.status = condition;
        return;
    }
    device.window = w;
    device.geometry = g;
    device.shading = PlanShading(w.colourType, w.fromDataSource, g.pixels);
    device.shadingReadSinceSetup = false;
    device.coefficients.clear();  // the shading memory holds one set-up's coefficients
    device.phase = DevicePhase::Configured;
    // A repeated data-source set-up may reuse the coefficients the caller keeps; the prescan
    // library keeps none of its own, so its set-ups always ask for a measurement.
    const bool reuse = device.config.reuseShading && w.fromDataSource && device.calibrated &&
                       SameShadingSettings(w, device.calibratedWindow);
    block.shadingNeeded = reuse ? 0 : 1;
    block.shadingKind = device.shading.kind;
    block.header.status = kScanStatusOk;
}

void HandleSendGamma(Device& device, SendGammaBlock& block) {
    if (device.phase == DevicePhase::Scanning) {
        block.header.status = kStatusBusy;
        return;
    }
    const ToneCheck check =
        LoadTones(device.tones, block, ToneTableEntries(device.config.profile));
    block.header.status = check == ToneCheck::Ok ? kScanStatusOk : kStatusInvalid;
}

void HandleStop(Device& device, StopBlock& block) {
    device.phase = DevicePhase::Stopped;
    block.header.status = kScanStatusOk;
}

void HandleGetStatus(Device& device, GetStatusBlock& block) {
    const bool warming = WarmingUp(device);
    ++device.statusPolls;
    std::memset(block.reserved8, 0, sizeof block.reserved8);
    block.ready = warming ? 0 : 1;
    block.header.status = (!warming && device.phase == DevicePhase::Stopped)
                              ? device.config.faults.stopStatus
                              : kScanStatusOk;
}
