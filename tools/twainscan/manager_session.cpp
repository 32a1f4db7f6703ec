#include "tools/twainscan/manager_session.h"

#include <cstring>

#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

TW_UINT16 Call(ManagerSession& s, pTW_IDENTITY dest, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    return s.entry(&s.app, dest, DG_CONTROL, dat, msg, data);
}

// "MSG_X failed: TWRC_..., TWCC_..." with the condition the manager reports for dest.
std::string Failure(ManagerSession& s, const char* what, TW_UINT16 rc, pTW_IDENTITY dest) {
    std::string text = std::string(what) + " failed: " + ReturnCodeName(rc);
    TW_STATUS status{};
    if (Call(s, dest, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS)
        text += ", " + ConditionCodeName(status.ConditionCode);
    else
        text += ", condition unknown";
    return text;
}

void CopyText(char (&field)[34], const std::string& text) {
    std::memset(field, 0, sizeof field);
    std::strncpy(field, text.c_str(), sizeof field - 1);
}

}  // namespace

TW_IDENTITY ApplicationIdentity(const std::string& productName) {
    TW_IDENTITY id{};
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_USA;
    CopyText(id.Version.Info, "twainscan 1.0");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 5;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(id.Manufacturer, "twainscan");
    CopyText(id.ProductFamily, "twainscan");
    CopyText(id.ProductName, productName);
    return id;
}

bool OpenManager(ManagerSession& s, std::string& error) {
    TW_UINT16 rc = Call(s, nullptr, DAT_PARENT, MSG_OPENDSM, &s.parent);
    if (rc != TWRC_SUCCESS) {
        error = Failure(s, "MSG_OPENDSM", rc, nullptr);
        return false;
    }
    s.managerOpen = true;
    return true;
}

bool ListSources(ManagerSession& s, std::vector<TW_IDENTITY>& sources, std::string& error) {
    sources.clear();
    TW_UINT16 msg = MSG_GETFIRST;
    for (;;) {
        TW_IDENTITY id{};
        TW_UINT16 rc = Call(s, nullptr, DAT_IDENTITY, msg, &id);
        if (rc == TWRC_ENDOFLIST) return true;
        if (rc != TWRC_SUCCESS) {
            error = Failure(s, msg == MSG_GETFIRST ? "MSG_GETFIRST" : "MSG_GETNEXT", rc, nullptr);
            return false;
        }
        if (sources.size() == kMaxListedSources) {
            error = "the source manager listed more than " + std::to_string(kMaxListedSources) +
                    " sources without ending its list";
            return false;
        }
        sources.push_back(id);
        msg = MSG_GETNEXT;
    }
}

void CloseManager(ManagerSession& s) {
    if (!s.managerOpen) return;
    Call(s, nullptr, DAT_PARENT, MSG_CLOSEDSM, &s.parent);
    s.managerOpen = false;
}

bool OpenSource(ManagerSession& s, TW_IDENTITY& source, std::string& error) {
    TW_UINT16 rc = Call(s, nullptr, DAT_IDENTITY, MSG_OPENDS, &source);
    if (rc == TWRC_SUCCESS) return true;
    error = Failure(s, "MSG_OPENDS", rc, nullptr);
    return false;
}

bool CloseSource(ManagerSession& s, TW_IDENTITY& source, std::string& error) {
    TW_UINT16 rc = Call(s, nullptr, DAT_IDENTITY, MSG_CLOSEDS, &source);
    if (rc == TWRC_SUCCESS) return true;
    error = Failure(s, "MSG_CLOSEDS", rc, nullptr);
    return false;
}

}  // namespace twainscan
