#include "twain/open_source.h"

#include "session/ui_hooks.h"

#include <cstring>

#include "engine/level_correction.h"
#include "engine/scaling_state.h"
#include "engine/scan_job_state.h"
#include "engine/transfer_end.h"
#include "link/bring_up.h"
#include "common/port_library.h"
#include "link/scanner_link.h"
#include "session/call_codes.h"
#include "session/interface_language.h"
#include "settings/profile_fields.h"
#include "twain/capability_kept.h"
#include "twain/dispatch.h"
#include "twain/identity.h"
#include "twain/negotiation.h"
#include "twain/source_record.h"

OpenConfiguration TheOpenConfiguration;

namespace {

// Identities come from outside: their strings may lack a terminator.
void CopyIdentity(TW_IDENTITY& to, const void* from) {
    std::memcpy(&to, from, sizeof to);
    to.Version.Info[33] = to.Manufacturer[33] = to.ProductFamily[33] = to.ProductName[33] = '\0';
}

std::string WindowsDirectory() {
    char dir[130] = {};
    plat::WindowsDirectory(dir, sizeof dir);
    return dir;
}

void ReadOpenConfiguration(OpenConfiguration& config) {
    ReadInterfaceLanguage(TheLanguage);
    config.SourceLanguageName = ReadProfileText("KVTINFO_A3", "DSLANGUAGE", "None", 33);
    config.PortLibraryPath = PortLibraryPath(WindowsDirectory(), PortLibraryName());
}

// The port library, and the sharing server's connection when the scanner was reached through
// it: a server serves one client at a time and must not stay held by a closed source.
void ReleaseScanner() {
    DisconnectRemoteScanner();
    UnloadPortLibrary(TheLink.port);
    TheSource.PortLibrary = nullptr;
}

}  // namespace

void OpenSource(TW_MEMREF data) {
    if (!TheSource.CallOrigin) return FailCall(TWCC_BADVALUE);
    if (TheSource.AppIdentity.Id != 0) return FailCall(TWCC_MAXCONNECTIONS);

    ReadOpenConfiguration(TheOpenConfiguration);
    if (!LoadPortLibrary(TheOpenConfiguration.PortLibraryPath, TheLink.port))
        return FailCall(TWCC_OPERATIONERROR);
    TheSource.PortLibrary = TheLink.port.module;
    CopyIdentity(TheSource.SourceIdentity, data);

    std::string identification;
    const bool usable = BringUpScanner(identification, nullptr);
    if (!identification.empty())
        CopyTwainString(TheSource.SourceIdentity.Version.Info, identification.c_str());
    if (!usable) {
        // Nothing of this open is kept; a later open loads the library again.
        ReleaseScanner();
        return FailCall(TWCC_OPERATIONERROR);
    }
    ClearFeederSelection();
    CopyIdentity(TheSource.AppIdentity, TheSource.CallOrigin);
    std::memcpy(data, &TheSource.SourceIdentity, sizeof(TW_IDENTITY));
    ResetNegotiation(TheNegotiation, MakeTransferFileName(LanguageString(204).c_str()).c_str());
    TheScanJob = ScanJobState{};
    TheSource.ScanningWindow = nullptr;
    TheSource.ScanWindowProcedure = nullptr;
    TheCall.SourceConditionCode = TWCC_SUCCESS;
    TheSource.SourceState = 400;
}

void CloseSource(TW_MEMREF) {
    // A scan started and not taken still runs in the scanner; left so, the next open would
    // find the scanner busy.
    if (TheSource.SourceState == 600) AbandonUntakenScan();
    else AbandonTransfer();
    // A scan that started but was never transferred (closed, or disabled first, in state 600)
    // still holds its reduction maps and tables.
    FreeTransferScaling();
    TheCall.SourceConditionCode = TWCC_SUCCESS;
    TheSource.AppIdentity.Id = 0;
    if (TheSource.ScanningWindow && TheUi.DestroyScanningWindow) TheUi.DestroyScanningWindow();
    TheSource.ScanningWindow = nullptr;
    TheSource.ScanWindowProcedure = nullptr;
    FreeLevelCorrectionTables();
    ReleaseScanner();
    TheSource.SourceState = 300;
}
