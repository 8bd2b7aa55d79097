// Test states record every signal they get, as "A+" (entry), "A*" (action)
// and "A-" (exit).
#pragma once

#include <string>
#include <vector>

#include "fsm/state_machine.h"

namespace fxt::testing {

inline std::vector<std::string> calls;

inline void Record(const char* name, Signal signal) {
  static constexpr const char* kMarks[] = {"", "+", "*", "-"};
  calls.push_back(std::string(name) + kMarks[signal]);
}

}  // namespace fxt::testing
