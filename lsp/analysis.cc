#include "lsp/analysis.h"

#include <new>

#include "grammar/header.h"
#include "lint/check.h"
#include "lint/consequences.h"
#include "lsp/line_index.h"

namespace fxt::lsp {
namespace {

// A character above U+00FF has no byte in a template: it reads as '?'.
constexpr uint8_t STAND_IN = '?';

// Where the characters above U+00FF stand: the first `most` of them, and the
// count of all.
struct WideCharacters {
  std::vector<SourcePosition> first;
  size_t count = 0;
};

std::vector<uint8_t> TemplateBytes(std::string_view text, size_t most, WideCharacters& wide) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size());
  SourcePosition position{1, 1};
  while (!text.empty()) {
    const Character character = ReadCharacter(text);
    text.remove_prefix(character.bytes);
    if (character.codePoint > 0xFF) {
      if (wide.count++ < most) wide.first.push_back(position);
      bytes.push_back(STAND_IN);
    } else {
      bytes.push_back(static_cast<uint8_t>(character.codePoint));
    }
    if (character.codePoint == '\n') {
      position = {position.line + 1, 1};
    } else {
      ++position.column;
    }
  }
  return bytes;
}

class Collector : public LintSink {
 public:
  explicit Collector(std::vector<AnalysedDiagnostic>& out) : out_(out) {}
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    out_.push_back({diagnostic.entry.id, diagnostic.severity, diagnostic.range,
                    std::string(diagnostic.text),
                    std::vector<Note>(diagnostic.notes.begin(), diagnostic.notes.end()),
                    diagnostic.fix != nullptr ? std::optional(*diagnostic.fix) : std::nullopt});
  }

 private:
  std::vector<AnalysedDiagnostic>& out_;
};

// Where the grammar rests before each line, and the end line.
class LineStates : public LoadObserver {
 public:
  explicit LineStates(Analysis& analysis) : analysis_(analysis) {}
  void BeforeLine(const LineEvent& line, StateFn state) override {
    const auto index = static_cast<size_t>(line.position.line - 1);
    if (analysis_.stateBefore.size() <= index) analysis_.stateBefore.resize(index + 1, nullptr);
    if (analysis_.stateBefore[index] == nullptr) analysis_.stateBefore[index] = state;
    before_ = state;
  }
  void AfterLine(const LineEvent& line, StateFn state) override {
    if (line.keyword != nullptr && line.keyword->id == TOKEN_END && state == StateStart &&
        before_ != StateStart && before_ != StateFixtureBody) {
      analysis_.endLine = line.position.line;
    }
    analysis_.stateAtEnd = state;
  }

 private:
  Analysis& analysis_;
  StateFn before_ = nullptr;
};

}  // namespace

StateFn Analysis::StateBeforeLine(int32_t line) const {
  const auto index = static_cast<size_t>(line - 1);
  if (line >= 1 && index < stateBefore.size() && stateBefore[index] != nullptr) {
    return stateBefore[index];
  }
  // A line past the last one read: where the grammar rested at the end,
  // unless an end line stopped the reading.
  return endLine != 0 && line > endLine ? nullptr : stateAtEnd;
}

Analysis Analyse(std::string_view text) {
  Analysis analysis;
  WideCharacters wide;
  analysis.bytes = TemplateBytes(text, MOST_DIAGNOSTICS, wide);
  // The outline, hovers and definitions read what the template declares,
  // what follows an error included: the model of a tolerant load, which
  // also tells which of the tester's diagnostics follow from an error.
  LineStates states(analysis);
  analysis.stateAtEnd = StateStart;
  Consequences tolerated(analysis.bytes, &states);
  analysis.fixture = tolerated.TakeModel();
  Collector collector(analysis.diagnostics);
  LintOptions options;
  options.maxDiagnostics = MOST_DIAGNOSTICS;
  options.wideCharacters = false;
  const FileSummary summary = CheckTemplate("", analysis.bytes, options, collector, &tolerated);
  if (summary.outOfMemory) throw std::bad_alloc();
  analysis.omittedDiagnostics = summary.omitted;
  // The wide characters' diagnostics count toward the same limit.
  size_t added = 0;
  for (; added < wide.first.size() && analysis.diagnostics.size() < MOST_DIAGNOSTICS; ++added) {
    const SourcePosition at = wide.first[added];
    analysis.diagnostics.push_back(
        {DiagnosticId::kWideCharacter,
         Severity::kError,
         {at, {at.line, at.column + 1}},
         "a character above U+00FF: templates are single-byte text, and the desk reads it as '?'",
         {},
         std::nullopt});
  }
  analysis.omittedDiagnostics += wide.count - added;
  return analysis;
}

}  // namespace fxt::lsp
