// Appending the scan log to the file the `ScanLog` key names. Each record is appended and the
// file closed again, so the log is complete up to the last accepted request even when the
// caller's process is ended without warning.
#pragma once

#include <cstdint>

#include "simulator/device/device.h"

// Logs the request when the scanner accepted it and the configuration asks for a log. A file
// that cannot be written is reported once on stderr; the scanner carries on regardless.
void LogAcceptedRequest(Device& device, uint32_t code, const void* block);
