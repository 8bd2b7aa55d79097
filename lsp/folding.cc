// Folding ranges: the header, each attribute block and each parameter
// block, without the blank lines and remarks that close it (those belong to
// what follows), and each run of remark lines.
#include <string_view>

#include "lsp/features.h"
#include "lsp/server.h"

namespace fxt::lsp {
namespace {

// Whether a line holds nothing the load reads: blanks, a remark, or both.
bool ReadsNothing(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '/';
}

bool IsRemark(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && line[first] == '/';
}

void AddRange(int32_t firstLine, int32_t lastLine, const char* kind, json& ranges) {
  if (lastLine <= firstLine) return;
  json range = {{"startLine", firstLine - 1}, {"endLine", lastLine - 1}};
  if (kind != nullptr) range["kind"] = kind;
  ranges.push_back(std::move(range));
}

void AddRemarkRuns(const Snapshot& snapshot, json& ranges) {
  const auto lineCount = static_cast<int32_t>(snapshot.lines.LineCount());
  for (int32_t line = 1; line <= lineCount;) {
    int32_t last = line;
    while (last <= lineCount && IsRemark(snapshot.lines.Line(last - 1))) ++last;
    AddRange(line, last - 1, "comment", ranges);
    line = last + 1;
  }
}

}  // namespace

json FoldingRanges(const Snapshot& snapshot) {
  json ranges = json::array();
  for (const Block& block : snapshot.blocks) {
    int32_t last = block.lastLine;
    while (last > block.firstLine && ReadsNothing(snapshot.lines.Line(last - 1))) --last;
    AddRange(block.firstLine, last, nullptr, ranges);
  }
  AddRemarkRuns(snapshot, ranges);
  return ranges;
}

json Server::Folding(const json& params) {
  return OnDocument(params, json::array(),
                    [](const Snapshot& snapshot) { return FoldingRanges(snapshot); });
}

}  // namespace fxt::lsp
