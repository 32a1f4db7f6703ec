// How the bytes of a line are grouped into samples, for the resolution scaling: line art
// packs eight pixels into a byte (most significant bit first), gray has one byte per pixel,
// colour three bytes per pixel whose neighbours lie three bytes apart.
#pragma once

#include <cstdint>

enum class SampleKind : uint8_t { LineArt = 0, Gray = 1, Colour = 2 };

// Bytes from one pixel to the next: 1 for line art (whole bytes) and gray, 3 for colour.
inline uint32_t SampleStep(SampleKind kind) { return kind == SampleKind::Colour ? 3u : 1u; }
