// The simulated scanner: one instance per powered-on device. It answers every local request
// on its typed block, validates every field it is given, keeps the state a real scanner keeps
// (warm-up, set-up, shading coefficients, tone tables, scan position, feeder pages) and writes
// image and shading data only into the buffer spans it is handed.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "simulator/device/config.h"
#include "simulator/device/line_renderer.h"
#include "simulator/device/original.h"
#include "simulator/device/scan_geometry.h"
#include "simulator/device/sensor.h"
#include "simulator/device/shading.h"
#include "simulator/device/tone.h"

// Statuses of the simulator's own; all non-zero, so callers treat them as failures.
constexpr uint16_t kStatusBusy = 0x8001;         // warming up, or a scan is running
constexpr uint16_t kStatusInvalid = 0x8002;      // a field of the block is impossible
constexpr uint16_t kStatusSequence = 0x8003;     // the request does not fit the device state
constexpr uint16_t kStatusUnknownCode = 0x8004;  // function code outside 0-9

enum class DevicePhase : uint8_t { Idle, Configured, Scanning, Stopped };

// One buffer-table entry as the device may use it.
struct BufferSpan {
    uint8_t* data;
    uint32_t bytes;
    uint16_t lines;  // whole units the caller says fit; 0 = not given
};

struct Device {
    SimulatorConfig config;
    Original original;
    SensorModel sensor;
    std::chrono::steady_clock::time_point poweredOn;
    uint32_t statusPolls = 0;
    DevicePhase phase = DevicePhase::Idle;
    uint16_t lampSaverMinutes = 20;
    uint32_t feederPagesLeft = 0;

    // The accepted set-up and what it asks of shading.
    ScanWindow window;
    ScanGeometry geometry;
    ShadingLayout shading;
    bool shadingReadSinceSetup = false;
    std::vector<uint16_t> coefficients;  // sent since the set-up; empty = unshaded
    bool calibrated = false;             // calibratedWindow holds the last full calibration
    ScanWindow calibratedWindow;
    ToneState tones;

    // The running scan.
    uint32_t linesDelivered = 0;
    uint32_t readFaultsLeft = 0;
    bool readThenPending = false;  // the read after the faulty ones answers the "then" status
    bool hung = false;  // stopped answering (the hang fault); only power-off clears it
    std::chrono::steady_clock::time_point scanStarted;
    LineRenderer renderer;

    std::vector<std::string> problems;  // configuration trouble found at power-on
};

// Power-on: builds the sensor and loads the original (falling back to the chart, with a
// problem noted, when the image cannot be read).
void PowerOn(Device& device, const SimulatorConfig& config);

bool WarmingUp(const Device& device);

void HandleInquiry(Device& device, InquiryBlock& block);
void HandleSetParameters(Device& device, SetParametersBlock& block);
void HandleSendGamma(Device& device, SendGammaBlock& block);
void HandleStop(Device& device, StopBlock& block);
void HandleGetStatus(Device& device, GetStatusBlock& block);

void HandleShadingInfo(Device& device, ShadingInfoBlock& block);
void HandleReadShading(Device& device, ReadShadingBlock& block, const BufferSpan* spans,
                       size_t count);
void HandleSendShading(Device& device, SendShadingBlock& block, const BufferSpan* high,
                       size_t highCount, const BufferSpan* low, size_t lowCount);

void HandleStartScan(Device& device, StartScanBlock& block);
void HandleReadData(Device& device, ReadDataBlock& block, const BufferSpan* spans, size_t count);

// Whole units of `unit` bytes the spans hold, each span counted as min(bytes / unit, lines).
uint64_t SpanUnits(const BufferSpan* spans, size_t count, uint32_t unit);
