// The language server's features: plain functions from a snapshot of a
// document to the protocol's result.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "grammar/letter_docs.h"
#include "lsp/analysis.h"
#include "lsp/blocks.h"
#include "lsp/line_index.h"
#include "tools/display_path.h"

namespace fxt::lsp {

using nlohmann::json;

// One version of a document, analysed, as the features read it.
struct Snapshot {
  const std::string& uri;
  const Analysis& analysis;
  const LineIndex& lines;
  Encoding encoding;
  std::vector<Block> blocks;

  Snapshot(const std::string& documentUri, const Analysis& analysed, const LineIndex& index,
           Encoding positions)
      : uri(documentUri),
        analysis(analysed),
        lines(index),
        encoding(positions),
        blocks(BlocksOf(analysed, static_cast<int32_t>(index.LineCount()))) {}

  // The client's position of a template position (line and character
  // index from 1); the range of a template range; the range from a position
  // to the end of its line; the range of whole lines; the range between two
  // byte offsets of the text.
  json Position(SourcePosition position) const;
  json Range(SourceRange range) const;
  json RangeToLineEnd(SourcePosition position) const;
  json LineRange(int32_t firstLine, int32_t lastLine) const;
  json Range(size_t begin, size_t end) const;
  // The template position (from 1) of a client's position.
  SourcePosition FromClient(ClientPosition position) const;
  // The byte offset in the text of a template position.
  size_t OffsetOf(SourcePosition position) const;
};

json Diagnostics(const Snapshot& snapshot);
// One diagnostic as published, for the code actions that mend it.
json DiagnosticJson(const Snapshot& snapshot, const AnalysedDiagnostic& diagnostic);
// The quick fixes and the fix of the whole file that stand within lines
// [firstLine, lastLine], of the kinds asked for (none named: every kind).
json CodeActions(const Snapshot& snapshot, int32_t firstLine, int32_t lastLine,
                 const std::vector<std::string_view>& only);
json DocumentSymbols(const Snapshot& snapshot);
json Hover(const Snapshot& snapshot, SourcePosition at);
// The hover on a letter of the role: its documentation under a heading.
std::string LetterHoverText(LetterRole role, char letter);
json Completion(const Snapshot& snapshot, SourcePosition at);
json Definition(const Snapshot& snapshot, SourcePosition at);

// A request that cannot be done as asked, and why, for the user.
class RequestFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A request that the client cancelled before it was answered.
class RequestCancelled : public std::runtime_error {
 public:
  RequestCancelled() : std::runtime_error("cancelled") {}
};

// The folders of the workspace that initialize names, as paths: its
// workspaceFolders, or else its rootUri, or else its rootPath.
std::vector<std::string> WorkspaceFolderPaths(const json& initializeParams);

// The hints of the lines `firstLine` to `lastLine` (from 1).
json InlayHints(const Snapshot& snapshot, int32_t firstLine, int32_t lastLine);
json References(const Snapshot& snapshot, SourcePosition at, bool includeDeclaration);
json PrepareRename(const Snapshot& snapshot, SourcePosition at);
// Throws RequestFailed when the new name cannot be had.
json Rename(const Snapshot& snapshot, SourcePosition at, const std::string& newName);
// Lines of the template, from 1, both included.
struct LineSpan {
  int32_t first = 1;
  int32_t last = 1;
};

// The indent of a formatting request, as fxtfmt would choose it: the
// [format] indent of the fxtlint.toml that applies to the document's file;
// else the request's tab size, where fxtfmt takes it (0 to 8); else 2.
int IndentOf(const json& params);
// The formatter's edits, one per changed line, for the lines of `lines`.
json FormattingEdits(const Snapshot& snapshot, int indent, LineSpan lines);
// After a newline typed at `at`: the line it ended laid out, and the new
// line indented when it stands in an attribute or parameter block.
json OnTypeFormattingEdits(const Snapshot& snapshot, int indent, SourcePosition at);

json FoldingRanges(const Snapshot& snapshot);
// The channel or attribute number under `at` and every other place that
// names it.
json DocumentHighlights(const Snapshot& snapshot, SourcePosition at);

}  // namespace fxt::lsp
