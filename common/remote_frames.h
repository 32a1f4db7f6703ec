// The frames of the sharing-server protocol: one function-code byte, then the request block
// (client to server) or the reply payload (server to client), every field written and read
// one by one in little-endian order, so that every build puts the same bytes on the wire.
//
// The ReadData block's address slot (bytes 28-35) carries the local table address in a 32-bit
// build and zero in a 64-bit build; no frame that is read ever writes that slot, so no reply
// can put an address into a local block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/request_blocks.h"

// Both sides send and receive through buffers of this size.
constexpr size_t kRemoteFrameBufferBytes = 32767;

// The largest frame of either direction (the tone-table download).
constexpr size_t kRemoteLargestFrame = 1 + sizeof(SendGammaBlock);
static_assert(kRemoteLargestFrame <= kRemoteFrameBufferBytes);

// The two bytes of the remote shading reply that mean the server failed to calibrate.
constexpr uint8_t kRemoteShadingFailed[2] = {'N', 'O'};

// Frame sizes, code byte included; 0 for a code that is never framed in that direction
// (2, 3 and everything above 10).
size_t RequestFrameBytes(uint32_t code);
size_t ReplyFrameBytes(uint32_t code);

// Client: the request frame of `block` (code 1 takes the force-calibration flag as its 34th
// byte; code 10 has no block). Returns the frame's size, 0 for a code that is never sent.
size_t EncodeRequestFrame(uint32_t code, const void* block, uint8_t forceCalibration,
                          uint8_t* frame);

// Client: a complete reply frame (its size is ReplyFrameBytes(frame[0])) into the block of its
// own code; code 10 writes its two reply bytes. The ReadData address slot is never written.
void DecodeReplyFrame(const uint8_t* frame, void* block);

// Server: a complete request frame into a block of its code (the ReadData address slot is left
// as it is; the server points it at its own table) and code 1's force-calibration flag.
void DecodeRequestFrame(const uint8_t* frame, void* block, uint8_t* forceCalibration);

// Server: the reply frame of `code` from the block (code 10: from the two reply bytes).
// Returns the frame's size, 0 for a code that has no reply.
size_t EncodeReplyFrame(uint32_t code, const void* block, uint8_t* frame);
