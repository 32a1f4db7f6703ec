#include "tools/twainscan/source_link.h"

#include "tools/twainscan/twain_names.h"

namespace twainscan {

TW_UINT16 CallSource(SourceLink& link, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    ManagerSession& s = *link.session;
    return s.entry(&s.app, &link.source, dg, dat, msg, data);
}

std::string SourceFailure(SourceLink& link, const std::string& what, TW_UINT16 rc) {
    std::string text = what + " failed: " + ReturnCodeName(rc);
    TW_STATUS status{};
    if (CallSource(link, DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS)
        return text + ", " + ConditionCodeName(status.ConditionCode);
    return text + ", condition unknown";
}

}  // namespace twainscan
