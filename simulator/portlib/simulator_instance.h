// The one simulated scanner of the process. It powers on at the first call into the library,
// with the configuration of the "Scanner Simulator" profile section as it is at that moment.
#pragma once

#include "simulator/device/device.h"

Device& TheDevice();

// Switches the scanner off: the next TheDevice() powers on a new one with the profile as it is
// then. Unloading the library does the same; this is for a caller that keeps it loaded.
void PowerOffDevice();

// Reads the simulator's keys through the platform's profile strings.
SimulatorConfig ReadConfigFromProfile(std::vector<std::string>& problems);
