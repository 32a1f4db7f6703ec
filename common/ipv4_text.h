// IPv4 addresses as dotted text, the way the sharing-server protocol names them.
#pragma once

#include <cstdint>
#include <string>

// Exactly four decimal parts of 0-255 separated by dots, nothing else (no blanks, no sign,
// at most three digits a part). False, with nothing written, for anything else.
bool ParseIpv4(const std::string& text, uint32_t& hostOrder);

// "a.b.c.d", as inet_ntoa writes it.
std::string Ipv4Text(uint32_t hostOrder);
