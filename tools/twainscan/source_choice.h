// Choosing a source from the manager's list, always by ProductName: the list order says
// nothing (Wine's manager, for one, lists its own camera source too).
#pragma once

#include <string>
#include <vector>

#include "common/twain.h"

namespace twainscan {

// Our source's ProductName ends with this text, whatever brand stands in front of it.
constexpr const char* kOurProductSuffix = "A3 Flatbed Scanner";

struct SourceChoice {
    bool ok = false;
    size_t index = 0;   // into the list, when ok
    std::string error;  // when !ok
};

// exactName empty: the one source whose ProductName ends with kOurProductSuffix; otherwise
// the one source whose ProductName is exactly exactName. None or several is an error.
SourceChoice ChooseSource(const std::vector<TW_IDENTITY>& sources, const std::string& exactName);

}  // namespace twainscan
