#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/twainscan/listing_command.h"
#include "tools/twainscan/manager_session.h"

using namespace twainscan;

namespace {

constexpr TW_UINT32 kAssignedId = 77;

// A source manager that serves a fixed list and records how it was called.
struct FakeManager {
    std::vector<TW_IDENTITY> sources;
    bool failOpen = false;
    bool endlessList = false;
    size_t next = 0;
    std::vector<TW_UINT16> messages;  // MSG of every call, in order
    bool originKeptItsId = true;      // every call after MSG_OPENDSM carried the assigned Id
    void* parentAtOpen = nullptr;
    void* parentAtClose = nullptr;
} fake;

TW_UINT16 TW_CALLINGSTYLE FakeEntry(pTW_IDENTITY origin, pTW_IDENTITY, TW_UINT32, TW_UINT16 dat,
                                    TW_UINT16 msg, TW_MEMREF data) {
    fake.messages.push_back(msg);
    if (msg != MSG_OPENDSM && (!origin || origin->Id != kAssignedId)) fake.originKeptItsId = false;
    if (dat == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = TWCC_LOWMEMORY;
        return TWRC_SUCCESS;
    }
    if (msg == MSG_OPENDSM) {
        fake.parentAtOpen = *static_cast<void**>(data);
        if (fake.failOpen) return TWRC_FAILURE;
        origin->Id = kAssignedId;
        return TWRC_SUCCESS;
    }
    if (msg == MSG_CLOSEDSM) {
        fake.parentAtClose = *static_cast<void**>(data);
        return TWRC_SUCCESS;
    }
    if (msg == MSG_GETFIRST) fake.next = 0;
    if (fake.endlessList) {
        *static_cast<TW_IDENTITY*>(data) = fake.sources.at(0);
        return TWRC_SUCCESS;
    }
    if (fake.next >= fake.sources.size()) return TWRC_ENDOFLIST;
    *static_cast<TW_IDENTITY*>(data) = fake.sources[fake.next++];
    return TWRC_SUCCESS;
}

TW_IDENTITY Source(TW_UINT32 id, const char* name, const char* maker) {
    TW_IDENTITY s{};
    s.Id = id;
    std::strcpy(s.ProductName, name);
    std::strcpy(s.ProductFamily, name);
    std::strcpy(s.Manufacturer, maker);
    return s;
}

class TwainscanListing : public ::testing::Test {
protected:
    void SetUp() override {
        fake = FakeManager{};
        fake.sources = {Source(1, "GPhoto2 Camera", "The Wine Team"),
                        Source(2, "A3 Flatbed Scanner", "SCANNER")};
    }

    CommandResult Run(std::vector<std::string> args) {
        ParseResult parsed = ParseCommandLine(args);
        EXPECT_TRUE(parsed.ok) << parsed.error;
        return RunListing(parsed.options, FakeEntry, parent, [this](const std::string& text) {
            printed += text;
        });
    }

    int window = 0;
    void* parent = &window;
    std::string printed;
};

}  // namespace

TEST_F(TwainscanListing, ListsEverySourceThenPrintsOursAndClosesTheManager) {
    CommandResult r = Run({"--list", "--identity"});
    ASSERT_TRUE(r.ok) << r.failure;
    EXPECT_EQ(printed.find("source: GPhoto2 Camera\nsource: A3 Flatbed Scanner\nId: 2\n"), 0u)
        << printed;
    EXPECT_NE(printed.find("ProductName: A3 Flatbed Scanner\n"), std::string::npos);
    EXPECT_EQ(fake.parentAtOpen, parent);
    EXPECT_EQ(fake.parentAtClose, parent);
    EXPECT_TRUE(fake.originKeptItsId);
    EXPECT_EQ(fake.messages.back(), MSG_CLOSEDSM);
}

TEST_F(TwainscanListing, ManagerThatNeverEndsItsListIsStoppedAndClosed) {
    fake.endlessList = true;
    CommandResult r = Run({"--list"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.failure.find("without ending its list"), std::string::npos) << r.failure;
    EXPECT_EQ(printed, "");  // nothing half-listed is shown as if it were the list
    EXPECT_EQ(fake.messages.back(), MSG_CLOSEDSM);
    EXPECT_LE(fake.messages.size(), kMaxListedSources + 4);
}

TEST_F(TwainscanListing, FailedOpenReportsTheConditionAndClosesNothing) {
    fake.failOpen = true;
    CommandResult r = Run({"--list"});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failure, "MSG_OPENDSM failed: TWRC_FAILURE, TWCC_LOWMEMORY");
    for (TW_UINT16 msg : fake.messages) EXPECT_NE(msg, MSG_CLOSEDSM);
}

TEST_F(TwainscanListing, MissingSourceFailsAfterClosingTheManager) {
    fake.sources.pop_back();
    CommandResult r = Run({"--identity"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.failure.find("no source"), std::string::npos) << r.failure;
    EXPECT_EQ(fake.messages.back(), MSG_CLOSEDSM);
}
