// Loading a template held in a string, with its diagnostics recorded.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "load/run_load.h"
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
  std::unique_ptr<FixtureTemplate> fixture;
};

inline Loaded LoadText(std::string_view text) {
  RecordingTarget target;
  LoadOutcome outcome = RunLoad(BytesOf(text), &target);
  std::vector<std::string> inner(target.messages.begin() + 1, target.messages.end() - 1);
  return {outcome.result, inner, std::move(outcome.fixture)};
}

inline std::string Repeated(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

// 255 parameter blocks, each with a displayer of its own (30 stands for
// none, and a parameter without a displayer of its own replaces another):
// a fixture full of parameters.
inline std::string FullOfParameters() {
  std::string text;
  for (int displayer = 0; displayer <= 255; ++displayer) {
    if (displayer == 30) continue;
    text += "parameter\n  type = c\n  displayernum = " + std::to_string(displayer) + "\n";
  }
  return text;
}

// A folder of its own under /tmp for one test, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    char name[] = "/tmp/fxt-test-XXXXXX";
    if (mkdtemp(name) != nullptr) path_ = name;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace fxt::testing
