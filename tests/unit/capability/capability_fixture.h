// An open source and an application that negotiates with it the way applications do: it
// builds its own containers for MSG_SET and reads and frees the ones the source hands out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/twain.h"
#include "tests/unit/twain/source_fixture.h"

// What the application finds in the container of an answer.
struct Answer {
    TW_UINT16 rc = 0;
    TW_UINT16 conType = 0;
    TW_UINT16 itemType = 0;
    size_t blockBytes = 0;
    std::vector<uint32_t> items;  // the one value, the range's five fields, or the list
    uint32_t currentIndex = 0, defaultIndex = 0;
    std::string text;  // an inline string item
};

class CapabilityTest : public SourceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The source open for `app` in the given state (300: closed).
    void EnterState(int state);
    void NameApplication(const char* productName, const char* family = "");

    TW_UINT16 Call(TW_UINT16 msg, TW_CAPABILITY& cap);
    // Sends the query and decodes (and frees) the container it answers with.
    Answer Query(TW_UINT16 capId, TW_UINT16 msg);
    TW_UINT16 SetOne(TW_UINT16 capId, TW_UINT16 itemType, uint32_t item);
    TW_UINT16 SetEnumeration(TW_UINT16 capId, TW_UINT16 itemType, const std::vector<uint32_t>& items,
                             uint32_t currentIndex);
    // A block of the application's own, filled with the given bytes.
    void* ApplicationBlock(const void* bytes, size_t size);
    // DAT_STATUS: the condition code of the previous call.
    TW_UINT16 Status();

    TW_IDENTITY app{};
};

// The bytes of a TW_ONEVALUE.
std::vector<uint8_t> OneValueBytes(TW_UINT16 itemType, uint32_t item);
