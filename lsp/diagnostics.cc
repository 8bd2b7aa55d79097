#include "lint/rule_docs.h"
#include "lsp/features.h"
#include "tools/lint_formats.h"

namespace fxt::lsp {
namespace {

constexpr int SEVERITY_ERROR = 1;
constexpr int SEVERITY_WARNING = 2;
constexpr int SEVERITY_INFORMATION = 3;

// Says how many diagnostics were held back, at the top of the document.
json Omitted(const Snapshot& snapshot) {
  return {{"range", snapshot.RangeToLineEnd({1, 1})},
          {"severity", SEVERITY_INFORMATION},
          {"source", "fxt"},
          {"message", OmittedText(snapshot.analysis.omittedDiagnostics) + ": the first " +
                          std::to_string(MOST_DIAGNOSTICS) + " are"}};
}

// A note that carries another finding ends in its code, as in fxtlint.
std::string NoteText(const Note& note) {
  std::string text = Latin1ToUtf8(note.text);
  if (note.entry != nullptr) text += " [" + std::string(note.entry->code) + "]";
  return text;
}

}  // namespace

// Notes that point elsewhere become related information, such as the
// attribute that took a channel first; the others go with the message.
json DiagnosticJson(const Snapshot& snapshot, const AnalysedDiagnostic& diagnostic) {
  std::string message = Latin1ToUtf8(diagnostic.text);
  json related = json::array();
  for (const Note& note : diagnostic.notes) {
    if (!note.position) {
      message += "\n" + NoteText(note);
      continue;
    }
    related.push_back(
        {{"location", {{"uri", snapshot.uri}, {"range", snapshot.RangeToLineEnd(*note.position)}}},
         {"message", NoteText(note)}});
  }
  json item = {
      {"range", snapshot.Range(diagnostic.range)},
      {"severity", diagnostic.severity == Severity::kWarning ? SEVERITY_WARNING : SEVERITY_ERROR},
      {"code", std::string(EntryOf(diagnostic.id).code)},
      {"codeDescription", {{"href", CodeUri(EntryOf(diagnostic.id).code)}}},
      {"source", "fxt"},
      {"message", message},
  };
  if (!related.empty()) item["relatedInformation"] = related;
  return item;
}

json Diagnostics(const Snapshot& snapshot) {
  json diagnostics = json::array();
  for (const AnalysedDiagnostic& diagnostic : snapshot.analysis.diagnostics) {
    diagnostics.push_back(DiagnosticJson(snapshot, diagnostic));
  }
  if (snapshot.analysis.omittedDiagnostics > 0) diagnostics.push_back(Omitted(snapshot));
  return diagnostics;
}

}  // namespace fxt::lsp
