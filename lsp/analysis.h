// What the language server knows of one version of a document: the template
// bytes it stands for, the diagnostics of fxtlint for them, the model that a
// tolerant load built (it keeps storing after an error, so the model holds
// all the template declares), and the state the grammar rested in before
// each line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fsm/state_machine.h"
#include "lint/lint_diagnostic.h"
#include "model/fixture_template.h"

namespace fxt::lsp {

// More than an editor can show: every diagnostic past them only costs time
// and memory, in the server and in the editor.
inline constexpr size_t MOST_DIAGNOSTICS = 1000;

struct AnalysedDiagnostic {
  DiagnosticId id;
  Severity severity;
  SourceRange range;  // lines from 1, character indexes on them from 1
  std::string text;
  std::vector<Note> notes;
  std::optional<Fix> fix;  // edits of `bytes`, when there is one safe mend
};

struct Analysis {
  std::vector<uint8_t> bytes;  // the template: one byte per character, '?' above U+00FF
  std::vector<AnalysedDiagnostic> diagnostics;  // at most MOST_DIAGNOSTICS
  size_t omittedDiagnostics = 0;                // found past them
  std::unique_ptr<FixtureTemplate> fixture;     // the template the tolerant load kept, if any
  // The state the grammar rested in before each line (index: line - 1), for
  // the lines the load read; null for the lines after it stopped.
  std::vector<StateFn> stateBefore;
  StateFn stateAtEnd = nullptr;  // where it rested when the load ended
  int32_t endLine = 0;           // the end line that closed the template, if any

  StateFn StateBeforeLine(int32_t line) const;
};

// Everything the features need, from the document's text (UTF-8).
Analysis Analyse(std::string_view text);

}  // namespace fxt::lsp
