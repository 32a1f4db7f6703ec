// The scanner request blocks: the one definition shared by the data source, the prescan
// library, the port library stand-in and the remote framing.
//
// Every block is a fixed byte layout, little-endian, status word at bytes 2-3. The blocks that
// the remote protocol frames keep their exact sizes in every build. Address fields are
// pointer-sized: in the 32-bit build they take the 4 bytes the layout gives; in 64-bit builds
// the 8-byte address starts at the same offset and still fits inside the block (ReadData
// 28-35, buffer-table entry 8-15). The two blocks that never leave the process (ReadShading,
// SendShading) use the natural layout of the build.
#pragma once

#include <cstddef>
#include <cstdint>

// Function codes passed to SPI_CALL (0-9) or sent as the frame's first byte (0-10).
enum ScanRequestCode : uint32_t {
    ScanRequestInquiry = 0,
    ScanRequestSetParameters = 1,
    ScanRequestReadShading = 2,
    ScanRequestSendShading = 3,
    ScanRequestSendGamma = 4,
    ScanRequestStartScan = 5,
    ScanRequestStop = 6,
    ScanRequestShadingInfo = 7,
    ScanRequestReadData = 8,
    ScanRequestGetStatus = 9,
    ScanRequestRemoteShading = 10,
};

// Status words with a meaning of their own; any other non-zero value is a generic failure.
constexpr uint16_t kScanStatusOk = 0;
constexpr uint16_t kScanStatusInquiryNotReady = 255;  // inquiry only
constexpr uint16_t kScanStatusPaperJam = 0x8217;
constexpr uint16_t kScanStatusNoPaper = 0x8321;  // set-up: feeder empty; read: data not ready
constexpr uint16_t kScanStatusCoverOpen = 0x8414;

#pragma pack(push, 1)

struct ScannerRequestHeader {
    uint16_t reserved0;
    uint16_t status;
    uint16_t reserved1;
};

// One entry of a ScanBufferTable: 20 bytes in every build.
struct ScanBufferEntry {
    uint32_t size;   // bytes; the caller rewrites it to whole lines
    uint16_t lines;  // lines that fit; written by the caller
    uint16_t reserved6;
    uint8_t* address;  // where the entry's bytes are in the locked area
    uint8_t reserved[20 - 8 - sizeof(uint8_t*)];
};

// BUF_ADDR never writes more entries than this, so every caller sizes its table the same.
constexpr uint16_t kScanBufferTableEntries = 16;
using ScanBufferTable = ScanBufferEntry[kScanBufferTableEntries];

// Bytes 10-105 are the inquiry data proper; the named fields below lie inside it.
constexpr size_t kInquiryDataFirst = 10;
constexpr size_t kInquiryDataBytes = 96;

struct InquiryBlock {
    ScannerRequestHeader header;
    uint8_t reserved6[4];
    uint8_t data10[32];         // 10-41: device type, vendor, product
    char firmwareMajor;         // 42
    char firmwareDot;           // 43
    char firmwareMinor[2];      // 44-45
    uint8_t data46[7];          // 46-52
    char modelPrefix[4];        // 53-56: "KVT-" wide bed, "KVC-" narrow bed
    char opticalResolution[4];  // 57-60: decimal digits
    uint8_t data61[6];          // 61-66
    uint8_t capability;         // 67: bit 0x40 = a scanner of this data source
    uint8_t data68[2];          // 68-69
    uint8_t calibration[4][2];  // 70-77: four 16-bit values, low byte first
    uint8_t data78[48];         // 78-125
    uint8_t optionInstalled;    // 126: transparency unit or document feeder present
    uint8_t hardwareVariant;    // 127
    uint8_t tail128[6];         // 128-133
};

constexpr uint8_t kCapabilityOurScanner = 0x40;

struct SetParametersBlock {
    ScannerRequestHeader header;
    uint16_t xStart;  // window in units of the scanner's optical scale
    uint16_t yStart;
    uint16_t xEnd;
    uint16_t yEnd;
    uint8_t source;          // 0 reflective, 1 positive film, 2 negative film, 3 feeder
    uint8_t fromDataSource;  // 1 from the data source, 0 from the prescan library
    uint8_t colourType;      // 0 line art, 1 fast gray, 2 gray, 3 colour, 5 36-bit colour
    uint8_t speed;
    uint16_t resolution;   // dots per inch
    uint8_t shadingNeeded; // reply: 1 = measure shading now
    uint8_t shadingKind;   // reply: tables to re-send, 1 single-channel, 2 three-channel
    uint8_t replyState;    // reply: further state byte
    uint8_t reserved23;
    uint16_t lampSaverMinutes;  // 5-120, 255 = lamp saver off
    uint8_t lampSaverOnly;      // 1 = apply only the lamp-saver delay
    uint8_t reserved27;
    uint32_t reserved28;
};

// Colour types of SetParametersBlock::colourType.
constexpr uint8_t kColourTypeLineArt = 0;
constexpr uint8_t kColourTypeFastGray = 1;
constexpr uint8_t kColourTypeGray = 2;
constexpr uint8_t kColourTypeColour = 3;
constexpr uint8_t kColourTypeColour36 = 5;

// Shading kinds of SetParametersBlock::shadingKind.
constexpr uint8_t kShadingKindSingle = 1;
constexpr uint8_t kShadingKindThree = 2;

struct ToneTableSlot {
    uint16_t entries;  // 256, or 4096 for the 1200 dpi model
    uint8_t table[4096];
};

constexpr size_t kToneSlots = 4;

struct SendGammaBlock {
    ScannerRequestHeader header;
    uint8_t threshold;  // line-art threshold
    uint8_t selector;   // 0x10 gray/line art (slot 1), 7 colour (slots 2-4 red, green, blue)
    ToneTableSlot slots[kToneSlots];
    uint8_t reserved16400[4];
};

constexpr uint8_t kToneSelectGray = 0x10;
constexpr uint8_t kToneSelectColour = 0x07;

struct StartScanBlock {
    ScannerRequestHeader header;
    uint16_t zero6;
    uint16_t bytesPerLine;  // reply
    uint16_t lines;         // reply
    uint8_t reserved12[4];
};

struct StopBlock {
    ScannerRequestHeader header;
};

struct ShadingInfoBlock {
    ScannerRequestHeader header;
    uint16_t one;           // 1
    uint16_t bytesPerLine;  // reply: bytes of one shading line
    uint16_t lines;         // reply: shading lines
    uint8_t reserved12[4];
};

struct ReadDataBlock {
    ScannerRequestHeader header;
    uint16_t bytesPerLine;
    uint16_t lines;  // lines of this read
    uint16_t reserved10;
    uint32_t bytes;      // lines x bytes per line
    uint16_t linesRead;  // lines read before this request
    uint16_t bandStart;  // 0 before the first read of a band
    uint8_t reserved20[6];
    uint16_t entryCount;
    ScanBufferEntry* table;
    uint8_t reserved32[36 - 28 - sizeof(ScanBufferEntry*)];
};

struct GetStatusBlock {
    ScannerRequestHeader header;
    uint16_t ready;  // 1 = ready, 0 = busy or warming up
    uint8_t reserved8[4];
};

#pragma pack(pop)

// Local-only blocks: natural layout, so the 32-bit offsets are the classic ones.
struct ReadShadingBlock {
    ScannerRequestHeader header;
    uint16_t resolution;
    uint16_t bytesPerLine;  // from ShadingInfo
    uint16_t lines;         // from ShadingInfo
    uint32_t bytes;         // bytes per line x lines
    uint32_t reserved16;
    ScanBufferEntry* table;
};

struct SendShadingBlock {
    ScannerRequestHeader header;
    uint16_t resolution;
    uint32_t samples;  // 16-bit shading samples per table
    uint16_t zero12;
    uint16_t zero14;
    uint16_t highEntries;  // entries of the high-byte table (0: as many as the data needs)
    uint16_t lowEntries;   // entries of the low-byte table
    ScanBufferEntry* highTable;
    ScanBufferEntry* lowTable;
};

// One block per function code, as each library keeps them (the data source and the prescan
// library each have their own set): the same block is reused for every request of its code,
// and replies overwrite it in place. The shading reply of a remote scanner has no block of
// its own: its two bytes land here.
struct RequestBlockSet {
    InquiryBlock inquiry;
    SetParametersBlock setParameters;
    ReadShadingBlock readShading;
    SendShadingBlock sendShading;
    SendGammaBlock sendGamma;
    StartScanBlock startScan;
    StopBlock stop;
    ShadingInfoBlock shadingInfo;
    ReadDataBlock readData;
    GetStatusBlock getStatus;
    uint8_t remoteShadingReply[2];
};

// ---- Layout checks ----------------------------------------------------------------------------
static_assert(sizeof(ScannerRequestHeader) == 6);
static_assert(offsetof(ScannerRequestHeader, status) == 2);
static_assert(sizeof(ScanBufferEntry) == 20);
static_assert(offsetof(ScanBufferEntry, lines) == 4);
static_assert(offsetof(ScanBufferEntry, address) == 8);

static_assert(sizeof(InquiryBlock) == 134);
static_assert(offsetof(InquiryBlock, data10) == kInquiryDataFirst);
static_assert(offsetof(InquiryBlock, firmwareMajor) == 42);
static_assert(offsetof(InquiryBlock, firmwareMinor) == 44);
static_assert(offsetof(InquiryBlock, modelPrefix) == 53);
static_assert(offsetof(InquiryBlock, opticalResolution) == 57);
static_assert(offsetof(InquiryBlock, capability) == 67);
static_assert(offsetof(InquiryBlock, calibration) == 70);
static_assert(offsetof(InquiryBlock, optionInstalled) == 126);
static_assert(offsetof(InquiryBlock, hardwareVariant) == 127);
static_assert(offsetof(InquiryBlock, tail128) == kInquiryDataFirst + kInquiryDataBytes + 22);

static_assert(sizeof(SetParametersBlock) == 32);
static_assert(offsetof(SetParametersBlock, xStart) == 6);
static_assert(offsetof(SetParametersBlock, yStart) == 8);
static_assert(offsetof(SetParametersBlock, xEnd) == 10);
static_assert(offsetof(SetParametersBlock, yEnd) == 12);
static_assert(offsetof(SetParametersBlock, source) == 14);
static_assert(offsetof(SetParametersBlock, fromDataSource) == 15);
static_assert(offsetof(SetParametersBlock, colourType) == 16);
static_assert(offsetof(SetParametersBlock, speed) == 17);
static_assert(offsetof(SetParametersBlock, resolution) == 18);
static_assert(offsetof(SetParametersBlock, shadingNeeded) == 20);
static_assert(offsetof(SetParametersBlock, shadingKind) == 21);
static_assert(offsetof(SetParametersBlock, replyState) == 22);
static_assert(offsetof(SetParametersBlock, lampSaverMinutes) == 24);
static_assert(offsetof(SetParametersBlock, lampSaverOnly) == 26);
static_assert(offsetof(SetParametersBlock, reserved28) == 28);

static_assert(sizeof(SendGammaBlock) == 16404);
static_assert(offsetof(SendGammaBlock, threshold) == 6);
static_assert(offsetof(SendGammaBlock, selector) == 7);
static_assert(offsetof(SendGammaBlock, slots) == 8);
static_assert(offsetof(SendGammaBlock, slots) + 1 * sizeof(ToneTableSlot) == 4106);
static_assert(offsetof(SendGammaBlock, slots) + 2 * sizeof(ToneTableSlot) == 8204);
static_assert(offsetof(SendGammaBlock, slots) + 3 * sizeof(ToneTableSlot) == 12302);
static_assert(offsetof(ToneTableSlot, table) == 2);

static_assert(sizeof(StartScanBlock) == 16);
static_assert(offsetof(StartScanBlock, bytesPerLine) == 8);
static_assert(offsetof(StartScanBlock, lines) == 10);
static_assert(sizeof(StopBlock) == 6);
static_assert(sizeof(ShadingInfoBlock) == 16);
static_assert(offsetof(ShadingInfoBlock, one) == 6);
static_assert(offsetof(ShadingInfoBlock, bytesPerLine) == 8);
static_assert(offsetof(ShadingInfoBlock, lines) == 10);

static_assert(sizeof(ReadDataBlock) == 36);
static_assert(offsetof(ReadDataBlock, bytesPerLine) == 6);
static_assert(offsetof(ReadDataBlock, lines) == 8);
static_assert(offsetof(ReadDataBlock, bytes) == 12);
static_assert(offsetof(ReadDataBlock, linesRead) == 16);
static_assert(offsetof(ReadDataBlock, bandStart) == 18);
static_assert(offsetof(ReadDataBlock, entryCount) == 26);
static_assert(offsetof(ReadDataBlock, table) == 28);

static_assert(sizeof(GetStatusBlock) == 12);
static_assert(offsetof(GetStatusBlock, ready) == 6);

static_assert(offsetof(ReadShadingBlock, resolution) == 6);
static_assert(offsetof(ReadShadingBlock, bytesPerLine) == 8);
static_assert(offsetof(ReadShadingBlock, lines) == 10);
static_assert(offsetof(ReadShadingBlock, bytes) == 12);
static_assert(offsetof(SendShadingBlock, resolution) == 6);
static_assert(offsetof(SendShadingBlock, samples) == 8);
static_assert(offsetof(SendShadingBlock, zero12) == 12);
static_assert(offsetof(SendShadingBlock, zero14) == 14);
static_assert(offsetof(SendShadingBlock, highEntries) == 16);
static_assert(offsetof(SendShadingBlock, lowEntries) == 18);

#if defined(_WIN32) && !defined(_WIN64)
// The classic 32-bit layout, exactly.
static_assert(sizeof(void*) == 4);
static_assert(sizeof(ReadShadingBlock) == 24);
static_assert(offsetof(ReadShadingBlock, table) == 20);
static_assert(sizeof(SendShadingBlock) == 28);
static_assert(offsetof(SendShadingBlock, highTable) == 20);
static_assert(offsetof(SendShadingBlock, lowTable) == 24);
static_assert(sizeof(ScanBufferTable) == 320);
#else
// 64-bit: the local-only blocks take their natural layout.
static_assert(sizeof(void*) == 8);
static_assert(offsetof(ReadShadingBlock, table) == 24);
static_assert(offsetof(SendShadingBlock, highTable) == 24);
static_assert(offsetof(SendShadingBlock, lowTable) == 32);
#endif

// Wire size of the block of each framed code; 0 for the codes that are never framed.
constexpr size_t RequestBlockBytes(uint32_t code) {
    switch (code) {
        case ScanRequestInquiry: return sizeof(InquiryBlock);
        case ScanRequestSetParameters: return sizeof(SetParametersBlock);
        case ScanRequestSendGamma: return sizeof(SendGammaBlock);
        case ScanRequestStartScan: return sizeof(StartScanBlock);
        case ScanRequestStop: return sizeof(StopBlock);
        case ScanRequestShadingInfo: return sizeof(ShadingInfoBlock);
        case ScanRequestReadData: return sizeof(ReadDataBlock);
        case ScanRequestGetStatus: return sizeof(GetStatusBlock);
        default: return 0;
    }
}
