// The documentation of every diagnostic, in one place: `fxtlint --explain`,
// the rules of the SARIF format, the language server's links and the tables
// of the README and the man page all come from it (a test holds the last two
// to it). Texts mark code with backquotes, as Markdown does.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "reader/catalogue.h"

namespace fxt {

// What a lint rule finds and what to do about it.
struct RuleDoc {
  DiagnosticId id;
  std::string_view catches;   // what it finds
  std::string_view why;       // why the desk misbehaves
  std::string_view mend;      // how to mend it
  std::string_view placedOn;  // where the diagnostic stands
  std::string_view fix;       // what --fix does; empty when there is no safe fix
};

// The documentation of a lint rule; none for the tester's own codes.
const RuleDoc* RuleDocOf(DiagnosticId id);

// The whole documentation of a code, as `fxtlint --explain` prints it: a
// heading line, then "Catches:", "Why:", "Mend:", "Placed on:" and "Fix:"
// lines for a rule, or the tester's text for one of the tester's codes.
std::string Explanation(const CatalogueEntry& entry);

// The same, with the backquotes of code removed, for plain text.
std::string WithoutMarks(std::string_view text);

// A one-line description of a code: a rule's catches, or the tester's text.
std::string FullDescription(const CatalogueEntry& entry);

// Where the documentation of the tools stands, and the place of one code in it.
std::string_view DocumentationUri();
std::string CodeUri(std::string_view code);

// "error", "warning", "fatal" or "note".
std::string_view SeverityWord(Severity severity);

}  // namespace fxt
