// Turning red-green-blue pixels into the blue-green-red order a 24-bit BMP row stores. Every
// byte of a colour BMP passes through here, so the vector path is what ships; the plain loop
// is the reference it is tested against and handles what the vector path leaves over.
#pragma once

#include <cstddef>
#include <cstdint>

// dst receives pixels x 3 bytes; src and dst must not overlap.
void SwapRedBlue(const uint8_t* src, uint8_t* dst, uint32_t pixels);

// One pixel at a time.
void SwapRedBluePlain(const uint8_t* src, uint8_t* dst, uint32_t pixels);

// Sixteen bytes at a time with SSE2 (the x86-64 baseline); rows under six pixels one pixel
// at a time.
// Where SSE2 is not part of the target (the i686 build) it is the plain loop.
void SwapRedBlueSse2(const uint8_t* src, uint8_t* dst, uint32_t pixels);

// In place over `pixels` pixels, which may span many rows: sixteen pixels (three vectors) at a
// time, each group read whole before any of it is stored, so no byte is read after it was
// rewritten. For lines that go to a BMP file straight from the scanner's buffers.
void SwapRedBlueInPlace(uint8_t* pixels3, size_t pixels);
