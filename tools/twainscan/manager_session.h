// A session with the TWAIN source manager, driven through its DSM_Entry. No Windows
// dependency: the entry point and the parent window arrive as plain values.
#pragma once

#include <string>
#include <vector>

#include "common/twain.h"

namespace twainscan {

struct ManagerSession {
    DSMENTRYPROC entry = nullptr;
    TW_IDENTITY app{};       // our identity; the manager writes its Id at MSG_OPENDSM
    void* parent = nullptr;  // the window handle the manager is opened with
    bool managerOpen = false;
};

// A manager that never ends its list is broken; stop asking after this many sources.
constexpr size_t kMaxListedSources = 64;

// The identity this application reports: protocol 1.5, DG_CONTROL | DG_IMAGE.
TW_IDENTITY ApplicationIdentity(const std::string& productName);

bool OpenManager(ManagerSession& session, std::string& error);
// Every source, in the manager's order (MSG_GETFIRST, then MSG_GETNEXT to TWRC_ENDOFLIST).
bool ListSources(ManagerSession& session, std::vector<TW_IDENTITY>& sources, std::string& error);
// Safe to call when the manager is not open.
void CloseManager(ManagerSession& session);

// MSG_OPENDS: the manager assigns the source's Id and the source completes the identity.
bool OpenSource(ManagerSession& session, TW_IDENTITY& source, std::string& error);
// MSG_CLOSEDS of a source that OpenSource opened.
bool CloseSource(ManagerSession& session, TW_IDENTITY& source, std::string& error);

}  // namespace twainscan
