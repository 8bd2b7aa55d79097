// A diagnostic as fxtlint and the language server report it: the tester's
// own, with notes that explain it, or a finding of a lint rule.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edit/text_edit.h"
#include "reader/report.h"

namespace fxt {

// A line that explains a diagnostic: the value read and what was allowed,
// the place of what it clashes with, a rule's finding about the same
// mistake, or a check of a later line that follows from this error.
struct Note {
  std::string text;
  std::optional<SourcePosition> position;  // where the note points, when elsewhere
  // The entry whose finding the note carries: a rule's, or the later check's.
  const CatalogueEntry* entry = nullptr;
};

// A count and its noun, in the plural unless the count is 1: "1 byte",
// "3 bytes".
inline std::string Counted(size_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}
// The same for a noun whose plural is not made with an "s": "2 fixes".
inline std::string Counted(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The one safe, mechanical mend of what a diagnostic reports: edits of the
// file's bytes as they were checked.
struct Fix {
  std::string title;  // what it does, in a few words: "spell the keyword channel"
  std::vector<TextEdit> edits;
  // It adds to the end of the file, so another fix may make it needless
  // (a misspelt end line): it waits until no other fix is left.
  bool waitsForOthers = false;
};

struct LintDiagnostic {
  const CatalogueEntry& entry;
  Severity severity;  // kError or kWarning: a fatal error is an error
  bool promoted;      // a warning that --werror reports as an error
  std::optional<int32_t> testerLine;
  SourceRange range;                        // what is wrong, in byte columns of one line
  std::string_view text;                    // what it says
  std::optional<std::string_view> message;  // the tester's exact text; none for a rule
  std::span<const Note> notes;
  const Fix* fix = nullptr;  // none when there is no safe one
};

class LintSink {
 public:
  virtual ~LintSink() = default;
  virtual void Diagnostic(const LintDiagnostic& diagnostic) = 0;
};

}  // namespace fxt
