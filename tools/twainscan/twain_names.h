// Names of TWAIN return and condition codes for messages a person reads.
#pragma once

#include <string>

#include "twain.h"

namespace twainscan {

std::string ReturnCodeName(TW_UINT16 rc);     // "TWRC_FAILURE", or "TWRC 0x0123" when unknown
std::string ConditionCodeName(TW_UINT16 cc);  // "TWCC_BADPROTOCOL", or "TWCC 0x0123"

}  // namespace twainscan
