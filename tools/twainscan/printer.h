// Where twainscan's progress text goes: stdout in the program, a string in the tests. Text
// is handed over as soon as it is known, so that a run that dies half-way has shown its steps.
#pragma once

#include <functional>
#include <string>

namespace twainscan {

using Printer = std::function<void(const std::string& text)>;

}  // namespace twainscan
