#include "tests/unit/twain/open_fixture.h"

#include <cstring>
#include <filesystem>

#include "platform/host/host_control.h"
#include "session/ui_hooks.h"
#include "twain/ds_entry.h"
#include "twain/initialise.h"
#include "twain/source_record.h"

std::vector<std::string> OpenTest::dialogEvents;

namespace {

void RecordOpen(int id) { OpenTest::dialogEvents.push_back("open " + std::to_string(id)); }
void RecordClose() { OpenTest::dialogEvents.push_back("close"); }

}  // namespace

void OpenTest::SetUp() {
    SourceTest::SetUp();
    dialogEvents.clear();
    TheUi = UiHooks{};
    TheUi.OpenNotReadyDialog = RecordOpen;
    TheUi.CloseNotReadyDialog = RecordClose;
    InitialiseSource();
    app.Id = 11;
    app.ProtocolMajor = 1;
    app.ProtocolMinor = 9;
    std::strcpy(app.ProductName, "Test Application");
    InstallPortLibrary();
    // A scanner held by the sharing server sends the source looking for one; no test looks
    // unless it says where (this value is no address, so nothing is sent).
    SetProfile("KVTINFO_A3", "RelaynorAddress", "none");
}

void OpenTest::TearDown() {
    if (TheSource.SourceState >= 400) Close();
    TheUi = UiHooks{};
    SourceTest::TearDown();
}

void OpenTest::Simulate(const char* key, const std::string& value) {
    SetProfile("Scanner Simulator", key, value);
}

// A copy per test and per name, so that every open powers on a new simulated scanner with
// the configuration of that test.
void OpenTest::InstallPortLibrary(const std::string& fileName) {
    const auto dir = windowsDir / "TWAIN_32" / "KVTC_A3";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(KV_SIMULATOR_PORTLIB, dir / fileName,
                               std::filesystem::copy_options::overwrite_existing);
}

TW_UINT16 OpenTest::Open() {
    opened = TheSource.SourceIdentity;
    opened.Id = 42;  // as the source manager assigns it
    return DS_Entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened);
}

TW_UINT16 OpenTest::Close() {
    return DS_Entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr);
}

std::vector<std::string> OpenTest::MessageCaptions() const {
    std::vector<std::string> out;
    for (const auto& box : plat::host::MessageBoxes()) out.push_back(box.caption);
    return out;
}

std::vector<std::string> OpenTest::MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& box : plat::host::MessageBoxes()) out.push_back(box.text);
    return out;
}
