// The three text capabilities of the reduced handler: author, caption and date.
#pragma once

#include <string>

#include "common/twain.h"
#include "platform/platform.h"

// String 4 of the current language.
std::string AuthorText();
// "BRAND" of "KVTINFO_A3" (default "SCANNER"), a blank and "Scanners".
std::string CaptionText();
// The asctime layout: "Www Mmm dd hh:mm:ss yyyy" and a line feed (the day padded with a blank).
std::string TimeDateText(const plat::LocalTime& time);

// Answers a text capability. Where a handle fits the 32-bit item (32-bit builds), the item is
// the handle of a zero-terminated block of blockBytes holding the text; a block that cannot be
// had leaves the call without a container and without an error. In 64-bit builds the text
// goes in place of the item as the inline string type.
void AnswerTextCapability(TW_CAPABILITY& cap, const std::string& text, uint32_t blockBytes,
                          TW_UINT16 inlineType);
