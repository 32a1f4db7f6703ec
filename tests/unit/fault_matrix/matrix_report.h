// The fault matrix's report: one line per cell, printed when the test program ends.
#pragma once

#include <string>

#include "tests/unit/fault_matrix/matrix_fixture.h"

void ReportCell(const std::string& fault, const std::string& mechanism, const Outcome& out);
// Also the report's heading, the first time.
void ReportNote(const std::string& line);
