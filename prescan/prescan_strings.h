// The prescan library's own string table: string n of language i under id 50 i + n.
#pragma once

#include <cstdint>
#include <string>

// The text stored under id in this library's table; "" when there is none.
std::string PrescanString(uint32_t id);
