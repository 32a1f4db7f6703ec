// The client addresses the sharing server serves: single addresses and a.b.c.d/n ranges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AddressRange {
    uint32_t address = 0;  // host order
    uint32_t mask = 0;
};

struct AllowList {
    std::vector<AddressRange> ranges;
};

// "127.0.0.1", "127.0.0.0/8", several separated by commas. False (with the offending part in
// `error`) for anything else; an empty text is refused too: a server that serves nobody is a
// mistake in its command line.
bool ParseAllowList(const std::string& text, AllowList& list, std::string& error);

bool Allows(const AllowList& list, uint32_t address);

// The default: loopback only (127.0.0.0/8).
AllowList LoopbackOnly();
