#include "tests/unit/fault_matrix/matrix_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
}

const char* ReturnCodeName(TW_UINT16 rc) {
    switch (rc) {
        case TWRC_SUCCESS: return "SUCCESS";
        case TWRC_FAILURE: return "FAILURE";
        case TWRC_CANCEL: return "CANCEL";
        case TWRC_XFERDONE: return "XFERDONE";
        default: return "other";
    }
}

const char* ConditionName(TW_UINT16 cc) {
    switch (cc) {
        case TWCC_SUCCESS: return "success";
        case TWCC_LOWMEMORY: return "lowmemory";
        case TWCC_OPERATIONERROR: return "operationerror";
        case TWCC_SEQERROR: return "seqerror";
        case TWCC_BADVALUE: return "badvalue";
        default: return "other";
    }
}

// Printed after every test has run, whatever the outcome.
class ReportPrinter : public ::testing::Environment {
public:
    void TearDown() override {
        std::printf("\n==== fault matrix: %zu lines ====\n", Lines().size());
        std::printf("%-34s %-15s %-9s %-8s %-15s %-12s %-5s %-5s %-5s %-5s %-4s %-4s %s\n",
                    "fault", "mechanism", "call", "rc", "condition", "messages", "state",
                    "close", "image", "temp", "leak", "kept", "virtual ms");
        for (const std::string& line : Lines()) std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
};

const bool kRegistered = (::testing::AddGlobalTestEnvironment(new ReportPrinter), true);

}  // namespace

void ReportNote(const std::string& line) { Lines().push_back("  # " + line); }

void ReportCell(const std::string& fault, const std::string& mechanism, const Outcome& out) {
    (void)kRegistered;
    std::string ids;
    for (uint32_t id : out.messages) ids += (ids.empty() ? "" : ",") + std::to_string(id);
    if (ids.empty()) ids = "-";
    char line[512];
    std::snprintf(line, sizeof line,
                  "%-34s %-15s %-9s %-8s %-15s %-12s %-5d %-5s %-5s %-5zu %-4ld %-4s %u",
                  fault.c_str(), mechanism.c_str(), out.call.c_str(), ReturnCodeName(out.rc),
                  ConditionName(out.cc), ids.c_str(), out.state, out.closeRequest ? "yes" : "no",
                  out.imageExact ? "exact" : "-", out.tempFiles.size(), out.leakedBlocks,
                  out.earlierFileLost ? "LOST" : "-", out.virtualMs);
    Lines().push_back(line);
}
