// The message boxes the user sees: texts from the string table in the interface language,
// captions naming the scanner.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// Brand, one blank only for the brand "Solenne", then the model name.
std::string ScannerCaption();

// Message id without the language base. 608 and 609 show the check list with the message
// as caption; every other id shows its text under the scanner caption.
void ShowErrorMessage(plat::WindowHandle owner, uint32_t messageId);
// Needed and free disk space; large amounts are shown in KiB.
void ShowSizeMessage(plat::WindowHandle owner, uint32_t freeBytes, uint32_t neededBytes);
void ShowBufferMessage(plat::WindowHandle owner);
// An advice rather than an error: the text of messageId under the caption "Information"
// (string 406).
void ShowInformationMessage(plat::WindowHandle owner, uint32_t messageId);
void ShowPlainMessage(plat::WindowHandle owner, const std::string& text);

// The decimal text of an amount of bytes as the size message shows it.
std::string SizeMessageAmount(uint32_t bytes, uint32_t largestInBytes);
