// The formatter's layout as the protocol's text edits: one edit per line that
// changes, so that a client moves no cursor and no mark on the lines that
// stay. The formatter lays out the template's bytes, as the tester reads
// them; its edits are turned back into the document's own characters here.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "config/project_config.h"
#include "format/format_template.h"
#include "lsp/features.h"
#include "lsp/params.h"
#include "lsp/server.h"
#include "tools/display_path.h"

namespace fxt::lsp {
namespace {

// The indent a client asks for with its tab size, when fxtfmt would take it.
constexpr int DEFAULT_INDENT = 2;
constexpr std::string_view FILE_SCHEME = "file://";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path of a file: URI, its %XX escapes read; none for another scheme.
std::optional<std::string> PathOfUri(std::string_view uri) {
  if (!uri.starts_with(FILE_SCHEME)) return std::nullopt;
  uri.remove_prefix(FILE_SCHEME.size());
  std::string path;
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && HexValue(uri[i + 1]) >= 0 &&
        HexValue(uri[i + 2]) >= 0) {
      path += static_cast<char>(HexValue(uri[i + 1]) * 16 + HexValue(uri[i + 2]));
      i += 2;
    } else {
      path += uri[i];
    }
  }
  return path;
}

// The [format] indent of the fxtlint.toml that applies to the document's
// file, as fxtfmt finds it; none where no readable one applies.
std::optional<int> SettingsIndent(std::string_view uri) {
  const std::optional<std::string> path = PathOfUri(uri);
  if (!path || !path->starts_with('/')) return std::nullopt;
  ConfigFinder finder;
  const std::optional<std::string> file = finder.For(AbsoluteFolderOf(*path));
  if (!file) return std::nullopt;
  const ConfigRead settings = ReadProjectConfig(*file);
  if (!settings.config) return std::nullopt;
  return settings.config->formatIndent;
}

// One line of a text: its content and its line end ("\n", "\r\n" or none).
struct TextLine {
  std::string_view content;
  std::string_view ending;
};

std::vector<TextLine> LinesOf(std::string_view text) {
  std::vector<TextLine> lines;
  while (!text.empty()) {
    const size_t newline = text.find('\n');
    std::string_view line =
        text.substr(0, newline == std::string_view::npos ? text.size() : newline + 1);
    text.remove_prefix(line.size());
    size_t endLength = line.ends_with('\n') ? 1 : 0;
    if (endLength == 1 && line.size() > 1 && line[line.size() - 2] == '\r') endLength = 2;
    lines.push_back(
        {line.substr(0, line.size() - endLength), line.substr(line.size() - endLength)});
  }
  return lines;
}

class LineEdits {
 public:
  LineEdits(const Snapshot& snapshot, LineSpan lines)
      : snapshot_(snapshot), wanted_(lines), edits_(json::array()) {}

  // The formatter's edit of whole lines from `firstLine` (from 0) on: the
  // lines pair in order, and the old lines past the new ones go.
  void Add(int32_t firstLine, std::string_view before, std::string_view after) {
    const std::vector<TextLine> old = LinesOf(before);
    const std::vector<TextLine> laidOut = LinesOf(after);
    const size_t paired = std::min(old.size(), laidOut.size());
    for (size_t i = 0; i < paired; ++i) {
      Replace(firstLine + static_cast<int32_t>(i), old[i], laidOut[i]);
    }
    if (old.size() > paired) {
      const auto first = firstLine + static_cast<int32_t>(paired);
      const auto last = firstLine + static_cast<int32_t>(old.size()) - 1;
      if (first + 1 >= wanted_.first && last + 1 <= wanted_.last) {
        Push(LineStart(first), LineStart(last + 1), "");
      }
    }
  }

  json Take() { return std::move(edits_); }

 private:
  const Snapshot& snapshot_;
  LineSpan wanted_;
  json edits_;

  size_t LineStart(int32_t line) const { return snapshot_.lines.OffsetOf(line, 0); }

  void Replace(int32_t line, TextLine old, TextLine laidOut) {
    if (line + 1 < wanted_.first || line + 1 > wanted_.last) return;
    if (HoldsWideCharacter(snapshot_.lines.Line(line))) return;
    std::string text = Latin1ToUtf8(laidOut.content);
    if (old.ending == laidOut.ending) {
      Push(LineStart(line), snapshot_.lines.EndOf(line), std::move(text));
    } else {
      Push(LineStart(line), LineStart(line + 1), text.append(laidOut.ending));
    }
  }

  void Push(size_t begin, size_t end, std::string newText) {
    edits_.push_back({{"range", snapshot_.Range(begin, end)}, {"newText", std::move(newText)}});
  }
};

// A line (from 1) that the client's cursor stands on after a newline, blank
// and inside an attribute or parameter block, gets the block's indent.
void IndentNewLine(const Snapshot& snapshot, int32_t line, int indent, json& edits) {
  const Block block = BlockAt(snapshot.blocks, line);
  const bool inBody =
      (block.kind == Block::Kind::kAttribute || block.kind == Block::Kind::kParameter) &&
      line > block.firstLine;
  const std::string_view text = snapshot.lines.Line(line - 1);
  if (!inBody || text.find_first_not_of(" \t") != std::string_view::npos) return;
  const std::string blanks(static_cast<size_t>(indent), ' ');
  if (text == blanks) return;
  edits.push_back({{"range", snapshot.Range(snapshot.lines.OffsetOf(line - 1, 0),
                                            snapshot.lines.EndOf(line - 1))},
                   {"newText", blanks}});
}

// The lines a range request names, from 1: a range that ends at the start of
// a line leaves that line out.
LineSpan LinesOfRange(const Snapshot& snapshot, const json& range) {
  if (!range.is_object()) throw InvalidParams("range: expected an object");
  const SourcePosition start = snapshot.FromClient(PositionOf({{"position", range.at("start")}}));
  const SourcePosition end = snapshot.FromClient(PositionOf({{"position", range.at("end")}}));
  const int32_t last = end.column == 1 && end.line > start.line ? end.line - 1 : end.line;
  return {start.line, last};
}

}  // namespace

int IndentOf(const json& params) {
  if (const std::optional<int> settings = SettingsIndent(DocumentUriOf(params))) return *settings;
  const auto options = params.find("options");
  if (options == params.end() || !options->is_object()) return DEFAULT_INDENT;
  const auto tabSize = options->find("tabSize");
  if (tabSize == options->end() || !tabSize->is_number_integer()) return DEFAULT_INDENT;
  const auto size = tabSize->get<int64_t>();
  return size >= 0 && size <= MAX_INDENT ? static_cast<int>(size) : DEFAULT_INDENT;
}

json FormattingEdits(const Snapshot& snapshot, int indent, LineSpan lines) {
  const std::vector<uint8_t>& bytes = snapshot.analysis.bytes;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const Formatting formatting = FormatTemplate(text, FormatOptions{indent});
  LineEdits edits(snapshot, lines);
  // The edits come in order: the lines before each are counted once.
  size_t counted = 0;
  int32_t line = 0;
  for (const TextEdit& edit : formatting.edits) {
    line += static_cast<int32_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                                            text.begin() + static_cast<std::ptrdiff_t>(edit.begin),
                                            '\n'));
    counted = edit.begin;
    edits.Add(line, text.substr(edit.begin, edit.end - edit.begin), edit.newText);
  }
  return edits.Take();
}

json OnTypeFormattingEdits(const Snapshot& snapshot, int indent, SourcePosition at) {
  if (at.line < 2) return json::array();
  json edits = FormattingEdits(snapshot, indent, {at.line - 1, at.line - 1});
  IndentNewLine(snapshot, at.line, indent, edits);
  return edits;
}

json Server::Format(const json& params) {
  const int indent = IndentOf(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return FormattingEdits(snapshot, indent, {1, INT32_MAX});
  });
}

json Server::FormatRange(const json& params) {
  const int indent = IndentOf(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return FormattingEdits(snapshot, indent, LinesOfRange(snapshot, params.at("range")));
  });
}

json Server::FormatOnType(const json& params) {
  const int indent = IndentOf(params);
  const ClientPosition position = PositionOf(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return OnTypeFormattingEdits(snapshot, indent, snapshot.FromClient(position));
  });
}

}  // namespace fxt::lsp
