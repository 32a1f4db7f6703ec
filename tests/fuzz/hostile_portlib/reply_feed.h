// The target's side of the contract with the hostile port library: the input bytes it hands
// out, answer by answer. A target that uses the library compiles reply_feed.cpp into its own
// executable, which then exports KvHostileReplyBytes.
#pragma once

#include <cstddef>
#include <cstdint>

// From now on the library's answers take these bytes (zeros once they are used up).
void FeedHostileReplies(const uint8_t* bytes, size_t size);
// No input bytes: every answer honest.
inline void EndHostileReplies() { FeedHostileReplies(nullptr, 0); }
