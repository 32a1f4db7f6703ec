// The simulator port library's one export that is not a port library entry point. A test
// that keeps the library loaded across runs (so that loading it is not paid for every run)
// calls it where the library would otherwise be unloaded: the scanner is switched off, and the
// next request powers on a new one with the profile as it is then.
#pragma once

extern "C" {
using SimPowerOffProc = void (*)();
}

constexpr const char* kSimPowerOffName = "SimPowerOff";
