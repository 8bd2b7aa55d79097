// Loading a template held in a string, with its diagnostics recorded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/fixture_template.h"
#include "reader/input_file.h"
#include "reader/load_template.h"
#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt::testing {

class RecordingTarget : public ReportTarget {
 public:
  void Report(const Diagnostic& diagnostic) override { messages.emplace_back(diagnostic.message); }
  std::vector<std::string> messages;
};

struct Loaded {
  int result;
  std::vector<std::string> messages;  // without the load's opening and closing lines
  const FixtureTemplate* fixture;
};

inline Loaded LoadText(std::string_view text, int slot = 1) {
  static std::vector<uint8_t> buffer;
  buffer = MakeInputBuffer({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  SetInput(buffer);
  RecordingTarget target;
  const int result = LoadTemplate(&target, slot);
  std::vector<std::string> inner(target.messages.begin() + 1, target.messages.end() - 1);
  return {result, inner, FixtureInSlot(slot)};
}

}  // namespace fxt::testing
