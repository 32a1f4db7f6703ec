// The prescan's requests before the scan: its window and its neutral tone tables.
#pragma once

#include <cstdint>

#include "common/request_blocks.h"
#include "prescan/prescan_geometry.h"

// The full set-up of a prescan: the whole window from 0, 0, colour, from the prescan library,
// the speed byte with the option bits for film, the lamp-saver delay.
void FillPrescanSetUp(const PrescanGeometry& g, uint32_t sourceWord, uint16_t lampSaverMinutes,
                      SetParametersBlock& block);

// Four identity tables (256 entries below the 1200 dpi optical resolution, else spread to
// 4096), colour selector, threshold 0.
void FillIdentityTones(uint16_t opticalResolution, SendGammaBlock& block);
