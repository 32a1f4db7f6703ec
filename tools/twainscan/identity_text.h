// Printable text for identities that came from the source manager or a source. Their strings
// are outside data: they may lack the terminating zero or hold control characters.
#pragma once

#include <string>

#include "common/twain.h"

namespace twainscan {

// The text of a 34-byte TWAIN string up to its first zero (all 34 bytes when there is none),
// with backslash, control and non-ASCII bytes written as \\, \n, \r, \t or \xNN so that one
// value always stays on one line.
std::string PrintableTwainText(const char (&field)[34]);

// One "key: value" line each: Id, Version, Language, Country, Info, Protocol,
// SupportedGroups, Manufacturer, ProductFamily, ProductName.
std::string IdentityLines(const TW_IDENTITY& identity);

// "source: <ProductName>" for a listing.
std::string SourceListLine(const TW_IDENTITY& identity);

}  // namespace twainscan
