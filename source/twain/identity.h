// The source's own TW_IDENTITY, filled from the profile at process attach.
#pragma once

#include "common/twain.h"

// Fixed numbers, then Manufacturer, ProductFamily, ProductName and Version.Info from
// section "KVTINFO_A3" ("BRAND", "1200", "SWVERSION"). Every string is cut at 33 characters.
void FillSourceIdentity(TW_IDENTITY& identity);

// Copies text into a 34-byte TWAIN string: at most 33 characters, always zero-terminated.
void CopyTwainString(char (&field)[34], const char* text);
