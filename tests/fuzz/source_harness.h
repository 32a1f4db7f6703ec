// The data source as a fuzz target sees it: one per process, brought back to its state at
// process attach before every input, with a Windows directory of its own that holds the
// port library, the table files and WIN.INI. The harness plays the application: it owns the
// memory blocks it hands over and frees the ones the source hands back, and after the input
// it checks that the source, once closed, holds no block and freed none of the application's.
// The harness keeps the port library loaded for the life of the process and switches its
// scanner off at the end of every input (and again before the next).
#pragma once

#include <string>
#include <vector>

#include "common/twain.h"
#include "platform/platform.h"

class SourceHarness {
public:
    // Sets up the process's directory once. portLibrary: the shared object installed as the
    // scanner's port library under each of libraryNames in <Windows dir>\TWAIN_32\KVTC_A3\;
    // it must export SimPowerOff.
    SourceHarness(const std::string& portLibrary, const std::vector<std::string>& libraryNames);
    ~SourceHarness();
    SourceHarness(const SourceHarness&) = delete;
    SourceHarness& operator=(const SourceHarness&) = delete;

    // A fresh source for one input: platform reset, WIN.INI replaced by winIni, process
    // attach. The application identity is reset to a plain one.
    void Begin(const std::string& winIni);
    // Closes the source if it is open, frees what the application holds and aborts (a
    // finding) when the source leaked or freed an application block.
    void End();

    TW_UINT16 Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 Open();   // MSG_OPENDS from app
    TW_UINT16 Close();  // MSG_CLOSEDS from app
    TW_UINT16 State() const;

    // Application memory: a zero-filled block the application owns (freed at End).
    plat::MemHandle AppAlloc(size_t bytes);
    // A handle the source gave the application: freed at End when it is a live block.
    void Receive(plat::MemHandle handle);

    // Pixels a scan of one input may deliver: more only repeat the pixel loops and slow the
    // campaign.
    static constexpr double kBudgetPixels = 120000;

    // The scan that enabling without the window (or a feeder page) would start is small
    // enough for a fuzz input.
    bool ScanWithinBudget() const;

    // Windows paths of folders inside the Windows directory.
    std::string WindowsDir() const { return windowsDir_; }
    std::string FilesDir() const { return windowsDir_ + "/files"; }

    TW_IDENTITY app{};

private:
    std::string windowsDir_;
    void* library_ = nullptr;              // the port library, held for the process
    void (*powerOff_)() = nullptr;         // its SimPowerOff
    std::vector<plat::MemHandle> owned_;
    std::vector<plat::MemHandle> received_;
};

// The WIN.INI the simulator needs for tiny, fast scans, plus extra text.
std::string SimulatorIni(const std::string& model, bool transparency, bool feeder);
