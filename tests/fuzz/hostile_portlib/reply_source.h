// The contract between the hostile port library and the fuzz target that loads the data
// source: the target's executable exports this function, and the library asks it for the
// bytes that decide each answer. Past the end of the input it gets zeros: honest answers.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
// Fills out with the next n reply bytes; returns how many were real input bytes.
using HostileReplyBytesProc = size_t (*)(uint8_t* out, size_t n);
}

constexpr const char* kHostileReplyBytesName = "KvHostileReplyBytes";
