// What a chart is drawn from: the model that a load of the template built,
// what the header says beyond the model, where each block of the template
// stands, and fxtlint's diagnostics for the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "lint/lint_diagnostic.h"
#include "load/run_load.h"

namespace fxt::chart {

struct ChartDiagnostic {
  Severity severity;  // kError or kWarning
  std::string_view code;
  std::string text;  // the template's bytes where it quotes them
  SourcePosition position;
  std::vector<Note> notes;
};

// An attribute block as its lines wrote it, whether the load stored the
// values or not.
struct WrittenAttribute {
  int32_t line;  // its attribute line
  bool hasChannelLine;
};

enum class BlockKind : uint8_t { kHeader, kAttribute, kParameter, kEnd };

// A line that opens a block of the charted template, or the line that
// ends it.
struct BlockLine {
  int32_t line;
  BlockKind kind;
};

struct ChartSource {
  std::string name;  // the file as the page names it
  // The tester's result and counts, and the model of a tolerant load, which
  // keeps storing after an error.
  LoadOutcome load;
  // The charted template's header lines that the model does not keep.
  std::optional<std::string> product;               // the quoted text of its product= line
  std::optional<int32_t> numDmx;                    // the number on its numDMX= line
  std::vector<WrittenAttribute> writtenAttributes;  // in order, one per attribute block
  std::vector<BlockLine> blocks;                    // in line order, the header first
  std::vector<ChartDiagnostic> diagnostics;         // as fxtlint reports them, in its order
  size_t omittedDiagnostics = 0;                    // past fxtlint's limit

  bool Loaded() const { return load.result <= 0; }
};

// Loads the template for a chart and checks it as fxtlint does.
ChartSource ReadForChart(std::string name, std::span<const uint8_t> bytes);

}  // namespace fxt::chart
