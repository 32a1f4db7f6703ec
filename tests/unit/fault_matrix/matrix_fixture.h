// A source on the simulated scanner driven the way an application drives it through one
// transfer mechanism, with everything an application and the machine can observe afterwards
// gathered into one record: the answer of the call where a fault showed, the condition code,
// the messages shown, the state, the close request, the temporary folder and the live memory.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/unit/acquisition/transfer_fixture.h"

enum class Mech { Native, Memory, MemorySpooled, FileTiff, FileBmp, FileSpooled };
const char* MechName(Mech mech);

// A frame of a few kilobytes, or one of 2.7 MB that the scanner buffers take in two bands.
enum class Frame { Small, TwoBands };

struct Outcome {
    std::string call;                 // "open", "enable" or "transfer": where the fault showed
    TW_UINT16 rc = 0;
    TW_UINT16 cc = 0;                 // DAT_STATUS after that call
    std::vector<uint32_t> messages;   // ids of the boxes shown, in order (0: not recognised)
    std::vector<std::string> texts;   // caption|text of each box, for the report
    int state = 0;
    bool closeRequest = false;        // MSG_CLOSEDSREQ since the scan started
    bool imageExact = false;          // a completed transfer delivered the reference image
    std::vector<std::string> tempFiles;
    long leakedBlocks = 0;            // live blocks beyond the level-correction tables
    bool earlierFileLost = false;     // a failed file transfer changed the user's file of that name
    uint32_t virtualMs = 0;           // on the platform clock, during the failing call
};

class MatrixTest : public TransferTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Simulator keys take effect at the next open (a new power-on).
    void SimulateAll(const std::map<std::string, std::string>& keys);
    void ClearSimulator();

    // Open, negotiate `mech`, scan without the window; the outcome is filled when either
    // fails. True when the source reached state 600.
    bool OpenAndScan(Mech mech, Frame frame, Outcome& out);
    // Negotiates and scans in an open source (state 400).
    bool Scan(Mech mech, Frame frame, Outcome& out);
    // Runs the transfer as an application does (memory: calls until not TWRC_SUCCESS) and
    // fills the outcome, the image check included.
    void Transfer(Mech mech, Outcome& out);
    // What the application does after the outcome: end the transfer and disable the source
    // (state 700), or nothing more (state 400). Back in state 400.
    void EndAsApplication(const Outcome& out);
    // A clean scan and transfer in the open source: no message, no close request, the image.
    void ExpectCleanScan(Mech mech);

    std::string OutputPath() const;
    size_t CloseRequests() const;

private:
    void Capture(const std::string& call, TW_UINT16 rc, uint32_t startTicks, Outcome& out);
    bool ImageIsReference(Mech mech, const std::vector<uint8_t>& image, TW_UINTPTR nativeHandle);
    size_t closeRequestsBefore = 0;
};

// The id of the message a box shows, recognised by its caption and text (0 when unknown).
uint32_t MessageIdOf(const std::string& caption, const std::string& text);
