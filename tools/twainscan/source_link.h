// Calls to the opened source, always through the source manager (DSM_Entry with the source
// as destination), and the text of a failed call with the condition the source reports.
#pragma once

#include <string>

#include "common/twain.h"
#include "tools/twainscan/manager_session.h"

namespace twainscan {

struct SourceLink {
    ManagerSession* session = nullptr;
    TW_IDENTITY source{};  // as MSG_OPENDS completed it
};

TW_UINT16 CallSource(SourceLink& link, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data);

// "<what> failed: TWRC_x, TWCC_y", the condition asked of the source with DAT_STATUS right
// away (it reports a condition once).
std::string SourceFailure(SourceLink& link, const std::string& what, TW_UINT16 rc);

}  // namespace twainscan
