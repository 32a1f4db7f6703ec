// The data source's shading store for the prescan library: the three conversion tables
// (the level-correction curves of red, green and blue), and the memory behind the two tables
// in which the library keeps the green coefficients of its calibration, so that a scanner
// asking for stored coefficients gets them without measuring again.
#pragma once

#include <cstdint>
#include <vector>

#include "common/prescan_api.h"

class PrescanStore {
public:
    PrescanStore();
    PrescanStore(const PrescanStore&) = delete;
    PrescanStore& operator=(const PrescanStore&) = delete;

    // The window opens: the next prescan measures whatever the scanner asks.
    void ForceCalibration() { store_.forceCalibration = 1; }

    // The store as the library gets it: conversion tables locked from the level-correction
    // curves for the call (null where a curve is unbuilt; the library then refuses to
    // calibrate and says so). Release() unlocks them after the call.
    PrescanShadingStore* Lend();
    void Release();

    const PrescanShadingStore& View() const { return store_; }

    // Bytes of each kept table: the green samples of the widest shading line (1200 dpi
    // across an A3 bed) fit.
    static constexpr uint32_t kTableBytes = 16384;
    static constexpr uint16_t kTableEntries = 4;

private:
    void Describe(ScanBufferTable& table, std::vector<uint8_t>& bytes);

    PrescanShadingStore store_{};
    std::vector<uint8_t> high_, low_;
    bool lent_ = false;
};
