// The one memory or file transfer in progress: what it holds between the calls of a memory
// transfer, where it stands, and what its end must give back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/read_loop.h"
#include "common/scan_buffers.h"
#include "engine/transfer_steps.h"
#include "imagefile/output_bands.h"
#include "platform/platform.h"

// A movable block locked for as long as it is held.
struct HeldBlock {
    plat::MemHandle handle = nullptr;
    uint8_t* data = nullptr;
    size_t bytes = 0;
};
bool HoldBlock(HeldBlock& block, size_t bytes);  // false, holding nothing, on failure
void ReleaseBlock(HeldBlock& block);

enum class TransferKind : uint8_t { Memory, File };

struct TransferState {
    // Set when a transfer ends (and at load): the next transfer call prepares a new one.
    bool NewTransfer = true;
    bool firstCall = false;  // the preparing call has not finished yet
    bool cancelled = false;  // ESC ended the reading or the processing
    TransferKind kind = TransferKind::Memory;
    bool spooled = false;         // the image goes to a file first (file transfer, post-processing)
    bool postProcessing = false;  // ... and that file is a spool, processed afterwards
    StepContext step;

    ScanBuffers buffers;
    HeldBlock band;          // lines gathered for one write
    uint32_t bandRows = 0;   // rows the band block holds (one spare for the band filters)
    HeldBlock interpolation; // scanned lines waiting to be doubled
    uint32_t interpolationLines = 0;
    HeldBlock processing;    // rows of the spooled pass into a file
    HeldBlock lookahead;     // the spool's line after a block, for emboss
    uint32_t processingRows = 0;
    ReadProgress progress;

    // Where the reading stands: lines the scanner has delivered, the part of the current band
    // not handed on yet, lines and rows handed to the application.
    uint32_t linesRead = 0;
    uint32_t bandNext = 0;
    uint32_t bandEnd = 0;
    uint32_t linesDelivered = 0;
    uint32_t rowsDelivered = 0;  // YOffset of the next block
    uint32_t blockRows = 0;      // rows of the block just filled
    uint32_t spoolLinesRead = 0; // lines read back from the spool

    // The output file of a file transfer: written under a name of its own beside the one the
    // application asked for, and given that name once the image is complete in it.
    std::string outputPath;
    std::string writingPath;
    plat::FileHandle output = plat::kNoFile;
    OutputBands outputBands;
    bool outputComplete = false;  // every row written and the file closed: it is the image
};

extern TransferState TheTransfer;

// Frees the scanner buffers and the work blocks of the transfer (not its files).
void ReleaseTransferBuffers();

// Everything of the transfer given back: buffers freed, spools closed and deleted, the
// output file closed (and deleted unless it was completed). NewTransfer is set.
void FinishTransfer();

// The step context of the started scan, from the settings and the scan job.
bool CurrentStepContext(StepContext* step);
