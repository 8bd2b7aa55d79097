// The code actions: the fix that a diagnostic carries, as a quick fix; every
// fix of the file at once; and a comment that suppresses a diagnostic's code
// on its line.
#include <algorithm>
#include <optional>

#include "edit/text_edit.h"
#include "lint/suppressions.h"
#include "lsp/features.h"
#include "reader/parse_context.h"

namespace fxt::lsp {
namespace {

constexpr std::string_view kQuickFix = "quickfix";
constexpr std::string_view kFixAll = "source.fixAll.fxt";
constexpr std::string_view kSuppressionMarker = "/ fxtlint: ignore ";
// The longest line the tester reads whole: a suppression comment that made
// a line longer would change what the tester reads of it.
constexpr size_t kLongestLine = LINE_CAPACITY - 1;

// Whether a kind is asked for: by its name, or by a kind above it
// ("source" asks for "source.fixAll.fxt").
bool Asked(std::string_view kind, const std::vector<std::string_view>& only) {
  if (only.empty()) return true;
  return std::any_of(only.begin(), only.end(), [&](std::string_view asked) {
    return kind == asked ||
           (kind.starts_with(asked) && kind.size() > asked.size() && kind[asked.size()] == '.');
  });
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

// Edits of the template's bytes as edits of the client's document.
class EditMapper {
 public:
  explicit EditMapper(const Snapshot& snapshot)
      : snapshot_(snapshot),
        cursor_({reinterpret_cast<const char*>(snapshot.analysis.bytes.data()),
                 snapshot.analysis.bytes.size()}) {}

  // None when an edit would replace a character above U+00FF: the template
  // holds it as '?', and the edit would put the '?' in its place.
  std::optional<json> Map(const std::vector<TextEdit>& edits) {
    json mapped = json::array();
    for (const TextEdit& edit : edits) {
      const size_t begin = DocumentOffset(edit.begin);
      const size_t end = std::max(begin, DocumentOffset(edit.end));
      if (HoldsWideCharacter(snapshot_.lines.Text().substr(begin, end - begin))) {
        return std::nullopt;
      }
      mapped.push_back(
          {{"range", snapshot_.Range(begin, end)}, {"newText", Latin1ToUtf8(edit.newText)}});
    }
    return mapped;
  }

 private:
  const Snapshot& snapshot_;
  LineCursor cursor_;

  size_t DocumentOffset(size_t templateOffset) {
    const TextPosition at = cursor_.PositionOf(templateOffset);
    return snapshot_.OffsetOf({at.line, at.column});
  }
};

json WorkspaceEdit(const Snapshot& snapshot, json edits) {
  return {{"changes", {{snapshot.uri, std::move(edits)}}}};
}

// Where a comment that suppresses `code` on `line` goes: added to the
// suppression comment of the line above, or on a line of its own above,
// indented as the line is. None where the comment would make a line longer
// than the tester reads whole.
std::optional<TextEdit> SuppressionEdit(const Snapshot& snapshot, const Suppressions& suppressions,
                                        LineCursor& cursor, int32_t line, std::string_view code) {
  const std::string_view bytes(reinterpret_cast<const char*>(snapshot.analysis.bytes.data()),
                               snapshot.analysis.bytes.size());
  const bool commentAbove =
      std::any_of(suppressions.All().begin(), suppressions.All().end(),
                  [&](const Suppression& s) { return s.position.line == line - 1 && !s.glued; });
  if (commentAbove) {
    std::string_view above = cursor.Line(line - 1);
    const size_t lineStart = static_cast<size_t>(above.data() - bytes.data());
    while (!above.empty() &&
           (above.back() == ' ' || above.back() == '\t' || above.back() == '\r')) {
      above.remove_suffix(1);
    }
    const std::string added = "," + std::string(code);
    if (above.size() + added.size() > kLongestLine) return std::nullopt;
    const size_t at = lineStart + above.size();
    return TextEdit{at, at, added};
  }
  const std::string_view written = cursor.Line(line);
  // A line past the last one (an end line missing) begins where the text ends.
  const size_t lineStart =
      written.data() == nullptr ? bytes.size() : static_cast<size_t>(written.data() - bytes.data());
  const std::string_view indent = written.substr(0, written.find_first_not_of(" \t"));
  std::string comment = std::string(indent) + std::string(kSuppressionMarker) + std::string(code);
  if (comment.size() > kLongestLine) comment.erase(0, indent.size());
  const bool crlf = written.ends_with('\r');
  return TextEdit{lineStart, lineStart, comment + (crlf ? "\r\n" : "\n")};
}

class ActionList {
 public:
  ActionList(const Snapshot& snapshot, const std::vector<std::string_view>& only)
      : snapshot_(snapshot),
        only_(only),
        mapper_(snapshot),
        suppressions_(snapshot.analysis.bytes),
        cursor_({reinterpret_cast<const char*>(snapshot.analysis.bytes.data()),
                 snapshot.analysis.bytes.size()}) {}

  void AddQuickFixes(const AnalysedDiagnostic& diagnostic) {
    if (!Asked(kQuickFix, only_)) return;
    if (diagnostic.fix) {
      if (std::optional<json> edits = mapper_.Map(diagnostic.fix->edits)) {
        Add(Capitalised(diagnostic.fix->title), diagnostic, std::move(*edits), true);
      }
    }
    const std::string_view code = EntryOf(diagnostic.id).code;
    if (code.starts_with("FL0")) return;  // the suppressions' own findings
    const std::optional<TextEdit> comment =
        SuppressionEdit(snapshot_, suppressions_, cursor_, diagnostic.range.start.line, code);
    if (!comment) return;
    if (std::optional<json> edits = mapper_.Map({*comment})) {
      Add("Suppress " + std::string(code) + " on this line", diagnostic, std::move(*edits), false);
    }
  }

  // Every fix of the file that overlaps no other, in one edit; a fix that
  // waits for the others (an end line added) only when it is the one left.
  void AddFixAll() {
    if (!Asked(kFixAll, only_)) return;
    std::vector<const Fix*> fixes;
    for (const AnalysedDiagnostic& diagnostic : snapshot_.analysis.diagnostics) {
      if (diagnostic.fix && !diagnostic.fix->edits.empty()) fixes.push_back(&*diagnostic.fix);
    }
    const bool others = std::any_of(fixes.begin(), fixes.end(),
                                    [](const Fix* fix) { return !fix->waitsForOthers; });
    std::vector<TextEdit> taken;
    for (const Fix* fix : fixes) {
      if (fix->waitsForOthers && others) continue;
      if (Overlaps(taken, fix->edits) || !mapper_.Map(fix->edits)) continue;
      taken.insert(taken.end(), fix->edits.begin(), fix->edits.end());
    }
    if (taken.empty()) return;
    std::optional<json> edits = mapper_.Map(taken);
    if (!edits) return;
    actions_.push_back({{"title", "Apply every safe fix in the file"},
                        {"kind", kFixAll},
                        {"edit", WorkspaceEdit(snapshot_, std::move(*edits))}});
  }

  json Take() { return std::move(actions_); }

 private:
  const Snapshot& snapshot_;
  const std::vector<std::string_view>& only_;
  EditMapper mapper_;
  Suppressions suppressions_;
  LineCursor cursor_;
  json actions_ = json::array();

  void Add(std::string title, const AnalysedDiagnostic& diagnostic, json edits, bool preferred) {
    actions_.push_back({{"title", std::move(title)},
                        {"kind", kQuickFix},
                        {"diagnostics", json::array({DiagnosticJson(snapshot_, diagnostic)})},
                        {"isPreferred", preferred},
                        {"edit", WorkspaceEdit(snapshot_, std::move(edits))}});
  }

  static bool Overlaps(const std::vector<TextEdit>& taken, const std::vector<TextEdit>& edits) {
    return std::any_of(edits.begin(), edits.end(), [&](const TextEdit& edit) {
      return std::any_of(taken.begin(), taken.end(), [&](const TextEdit& other) {
        const bool shared = edit.begin < other.end && other.begin < edit.end;
        return shared || edit.begin == other.begin;
      });
    });
  }
};

}  // namespace

json CodeActions(const Snapshot& snapshot, int32_t firstLine, int32_t lastLine,
                 const std::vector<std::string_view>& only) {
  ActionList actions(snapshot, only);
  for (const AnalysedDiagnostic& diagnostic : snapshot.analysis.diagnostics) {
    if (diagnostic.range.start.line <= lastLine && diagnostic.range.end.line >= firstLine) {
      actions.AddQuickFixes(diagnostic);
    }
  }
  actions.AddFixAll();
  return actions.Take();
}

}  // namespace fxt::lsp
