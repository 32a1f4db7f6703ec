// Applications that the source treats differently, recognised by the ProductName (or
// ProductFamily) of the application that opened it. Every comparison is exact and
// case-sensitive; names from the string table are taken at most 33 characters long, the
// length an identity string holds.
#pragma once

#include "engine/application_traits.h"

#include <cstdint>

#include "common/twain.h"

// ProductName equals string id of the current language block.
bool AppNameIsLanguageString(uint32_t id);
// ProductName equals string id of the English block (the id without a language offset).
bool AppNameIsEnglishString(uint32_t id);

// String 62: every capability request goes to the reduced handler.
bool AppUsesReducedCapabilities();
// String 66 of the English block: the batch next-job timer at MSG_ENDXFER and the CMYK
// choices of the colour tables.
bool AppIsBatchPublisher();
// String 56: "36-bit Color" and "CMYK Color" are admitted.
bool AppAdmitsDeepColour();
// Strings 55 and 60: where the source itself would pick 300 dots per inch it picks 200, and
// an image resolution of 198 is reported as 200.
bool AppIsFaxProgram();
// String 64: a scan without the window builds plain tone tables from the stored records.
bool AppWantsPlainToneTables();
// String 707: the colour-management program that gets output matching prepared.
bool AppIsColourManager();

// The CMYK table's four bytes go out as the table holds them only for the batch publisher
// when it has set ICAP_PIXELFLAVOR; everyone else gets each byte complemented.
bool CmykKeepsTableBytes();

// Everything the scan job needs to know about the application that opened the source.
ApplicationTraits TraitsOfApplication();

// MSG_SET of ICAP_XFERMECH with the value asked for: applies the rules for the named
// applications, sets XferMechIndex or refuses with TWCC_BADVALUE.
void SetTransferMechanism(int64_t asked);
