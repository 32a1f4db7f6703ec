#include "tools/twainscan/source_choice.h"

#include <cstring>

namespace twainscan {
namespace {

// The name as stored, bounded by the field even when its terminating zero is missing.
std::string ProductNameOf(const TW_IDENTITY& id) {
    const char* name = id.ProductName;
    return std::string(name, strnlen(name, sizeof id.ProductName));
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

SourceChoice ChooseSource(const std::vector<TW_IDENTITY>& sources, const std::string& exactName) {
    const bool bySuffix = exactName.empty();
    const std::string wanted = bySuffix ? std::string(kOurProductSuffix) : exactName;
    SourceChoice choice;
    size_t matches = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string name = ProductNameOf(sources[i]);
        if (bySuffix ? EndsWith(name, wanted) : name == wanted) {
            if (matches++ == 0) choice.index = i;
        }
    }
    const std::string what = bySuffix ? "whose ProductName ends with \"" + wanted + "\""
                                      : "named \"" + wanted + "\"";
    if (matches == 0) {
        choice.error = "no source " + what;
    } else if (matches > 1) {
        choice.error = std::to_string(matches) + " sources " + what + "; choose one with --source";
    } else {
        choice.ok = true;
    }
    return choice;
}

}  // namespace twainscan
