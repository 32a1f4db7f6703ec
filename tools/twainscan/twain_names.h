// Names of TWAIN return and condition codes for messages a person reads.
#pragma once

#include <string>

#include "common/twain.h"

namespace twainscan {

std::string ReturnCodeName(TW_UINT16 rc);     // "TWRC_FAILURE", or "TWRC 0x0123" when unknown
std::string ConditionCodeName(TW_UINT16 cc);  // "TWCC_BADPROTOCOL", or "TWCC 0x0123"
std::string CapabilityName(TW_UINT16 cap);     // the capabilities twainscan sets or reads
std::string PixelTypeName(TW_INT16 type);      // "TWPT_RGB", or "TWPT 12"
std::string FileFormatName(TW_UINT16 format);  // "TWFF_BMP", or "TWFF 9"

}  // namespace twainscan
