// The memory transfer without post-processing: each call fills the application's buffer
// with the next block of rows straight from the scanner buffers, reading a band whenever
// the previous one is used up, so that memory stays bounded whatever the image size.
#pragma once

#include <cstdint>

#include "common/twain.h"
#include "engine/transfer_steps.h"

// The application's buffer of the current call.
struct AppBlock {
    uint8_t* data = nullptr;
    uint32_t bytes = 0;
};

// Fills the next block of rows. True with SourceReturnCode TWRC_SUCCESS, or TWRC_XFERDONE
// when it holds the image's last row; false after a cancel (TWRC_CANCEL), a read error or a
// buffer too small for one block (AbortScan, TWCC_LOWMEMORY and message 604).
bool ReadMemoryBlock(const AppBlock& block);

// The first seven fields of the answer for the block just filled (or 0 rows when none was):
// BytesPerRow, Columns (the image information's width), Rows, YOffset, BytesWritten. The
// delivered rows then count towards the next YOffset.
void AnswerMemoryBlock(TW_IMAGEMEMXFER& reply, uint32_t columns);

// AnswerMemoryBlock, then true while rows remain; false after the last block, when the
// scanner has also been waited for.
bool FillMemXferReply(TW_IMAGEMEMXFER& reply, uint32_t columns);

// Zeroes the bytes after the first `filled` of count rows of rowBytes: rows longer than
// their line are not left with whatever the application's buffer held.
void ZeroRowTails(uint8_t* rows, uint32_t count, uint32_t filled, uint32_t rowBytes);

// The last steps of a block: count lines (back to back) enlarged into the block's rows when
// the scan is enlarged, and the rows converted for "CMYK Color"; *rows receives the block's
// rows. False after AbortScan with TWCC_LOWMEMORY and 604 when a step cannot run.
bool FinishMemoryBlock(const AppBlock& block, const uint8_t* lines, uint32_t count,
                       uint32_t* rows);

// Rows of a block for this buffer, or 0 after AbortScan with TWCC_LOWMEMORY and 604.
uint32_t BlockRowsOrAbort(uint32_t bufferBytes);
