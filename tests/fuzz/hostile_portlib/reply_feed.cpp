#include "tests/fuzz/hostile_portlib/reply_feed.h"

#include <cstring>

#include "tests/fuzz/hostile_portlib/reply_source.h"

namespace {

const uint8_t* gReplies = nullptr;
size_t gRepliesLeft = 0;

}  // namespace

void FeedHostileReplies(const uint8_t* bytes, size_t size) {
    gReplies = bytes;
    gRepliesLeft = bytes ? size : 0;
}

extern "C" __attribute__((visibility("default"))) size_t KvHostileReplyBytes(uint8_t* out, size_t n) {
    const size_t take = n < gRepliesLeft ? n : gRepliesLeft;
    if (take) std::memcpy(out, gReplies, take);
    if (n > take) std::memset(out + take, 0, n - take);
    gReplies += take, gRepliesLeft -= take;
    return take;
}
