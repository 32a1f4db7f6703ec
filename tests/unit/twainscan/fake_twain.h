// A source manager with one scanner source behind it, for the acquisition tests: it keeps
// TWAIN's states, answers the triplets twainscan sends, posts its notifications into a fake
// message queue, and can be told to misbehave in the ways a real source might.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "common/twain.h"
#include "tools/twainscan/event_wait.h"
#include "tools/twainscan/memory_blocks.h"

namespace faketwain {

// Blocks that remember who is alive, so a test sees leaks and double frees.
class FakeBlocks : public twainscan::MemoryBlocks {
public:
    TW_HANDLE Alloc(size_t bytes) override;
    void* Lock(TW_HANDLE block) override;
    size_t Size(TW_HANDLE block) override;
    void Unlock(TW_HANDLE) override {}
    void Free(TW_HANDLE block) override;
    size_t Live() const { return blocks_.size(); }
    int badFrees = 0;

private:
    std::map<TW_HANDLE, std::vector<uint8_t>> blocks_;
    uintptr_t next_ = 0x1000;
};

// A queue whose clock only moves while the loop waits.
class FakePump : public twainscan::MessagePump {
public:
    twainscan::PumpResult Next(uint32_t waitMs) override;
    void Dispatch(void*) override { ++dispatched; }
    uint64_t NowMs() override { return now; }
    std::deque<int> queue;  // message ids; kPosted is the manager's notification
    int current = 0;
    uint64_t now = 0;
    int dispatched = 0;
};
constexpr int kPosted = 1;
constexpr int kOther = 2;

enum class Fault {
    None,
    NeverReady,         // MSG_ENABLEDS succeeds, nothing is ever posted
    CloseRequest,       // the scan fails: MSG_CLOSEDSREQ instead of MSG_XFERREADY
    BytesWrittenTooBig, // a block claims more bytes than its rows hold
    YOffsetJump,        // the second block skips a row
    WritePastBuffer,    // a block writes one byte beyond Memory.Length
    ShortImage,         // TWRC_XFERDONE one block early
    MemoryFailure,      // the third block fails with TWCC_OPERATIONERROR
    KeepsPixelType,     // answers TWRC_SUCCESS to ICAP_PIXELTYPE but keeps the old value
    NoFileWritten,      // TWRC_XFERDONE without writing the file
};

struct Image {
    uint32_t width = 5;
    uint32_t height = 7;
    TW_INT16 pixelType = TWPT_RGB;
    uint32_t rowPadding = 1;                // extra bytes per memory row
    std::vector<uint32_t> blockRows{1, 3, 2};  // rows per block, repeated (memory)
    uint8_t Sample(uint32_t x, uint32_t y, uint32_t s) const {
        return static_cast<uint8_t>(x * 31 + y * 17 + s * 101);
    }
    uint32_t Samples() const { return pixelType == TWPT_RGB ? 3 : 1; }
    uint32_t Bits() const { return pixelType == TWPT_BW ? 1 : 8 * Samples(); }
    uint32_t RowBytes() const { return (width * Bits() + 7) / 8; }
    std::vector<uint8_t> Row(uint32_t y) const;  // as a TIFF row (RGB order, MSB first)
};

struct FakeTwain {
    FakeBlocks blocks;
    FakePump pump;
    Image image;
    Fault fault = Fault::None;
    int state = 1;  // the source's TWAIN state; 3 once the manager is open
    TW_UINT16 xferMech = TWSX_NATIVE;
    TW_UINT16 pixelType = TWPT_RGB;
    TW_UINT16 fileFormat = TWFF_TIFF;
    TW_UINT16 resolution = 300;
    TW_UINT16 condition = TWCC_SUCCESS;
    TW_IMAGELAYOUT layout{};
    std::string fileName;
    bool showUiFails = true;    // the window cannot be created yet
    bool setupTakesBmp = false;
    uint32_t rowsSent = 0;
    int blocksSent = 0;
    std::vector<std::string> calls;  // "DAT/MSG" of every call after MSG_OPENDSM
    std::vector<std::string> refused;  // calls made in a state that does not allow them
};

extern FakeTwain* current;
TW_UINT16 TW_CALLINGSTYLE Entry(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg,
                                TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

}  // namespace faketwain
