#include "tools/lint_formats.h"

#include <algorithm>
#include <string>
#include <vector>

#include "tools/display_path.h"
#include "tools/json_writer.h"
#include "tools/source_excerpt.h"
#include "tools/standard_output.h"

namespace fxt {

namespace {

const char* SeverityName(Severity severity) {
  return severity == Severity::kWarning ? "warning" : "error";
}

// FILE:LINE:COLUMN: SEVERITY: TEXT [CODE], one line each, COLUMN where its
// range begins, and after it FILE:LINE:COLUMN: note: TEXT for each of its
// notes, with the code of the finding that a note carries. A text may quote
// the template, whose control characters are escaped as a path's are. On a
// terminal, in colour and with the source line under the diagnostic.
class GccFormat : public LintFormat {
 public:
  explicit GccFormat(const TerminalStyle& style)
      : colours_(style.colour ? Colours::On() : Colours::Off()), showSource_(style.showSource) {}

  void BeginFile(const std::string& path) override { path_ = DisplayPath(path); }
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    const SourcePosition start = diagnostic.range.start;
    const std::string_view colour =
        diagnostic.severity == Severity::kWarning ? colours_.warning : colours_.error;
    std::string lines = Place(start) + std::string(colour) + SeverityName(diagnostic.severity) +
                        ":" + std::string(colours_.reset) + " ";
    lines += DisplayPath(diagnostic.text);
    lines += " [";
    lines += colour;
    lines += diagnostic.entry.code;
    lines += colours_.reset;
    lines += diagnostic.promoted ? ", werror]\n" : "]\n";
    if (showSource_) lines += Excerpt(diagnostic);
    for (const Note& note : diagnostic.notes) {
      lines += Place(note.position.value_or(start)) + std::string(colours_.note) +
               "note:" + std::string(colours_.reset) + " " + DisplayPath(note.text);
      if (note.entry != nullptr) lines += " [" + std::string(note.entry->code) + "]";
      lines += "\n";
    }
    WriteOut(lines);
  }

 private:
  std::string path_;
  Colours colours_;
  bool showSource_;

  std::string Place(SourcePosition position) const {
    return std::string(colours_.bold) + path_ + ":" + std::to_string(position.line) + ":" +
           std::to_string(position.column) + ":" + std::string(colours_.reset) + " ";
  }

  // The caret stands where the diagnostic's range begins, and the tildes
  // reach to its end.
  std::string Excerpt(const LintDiagnostic& diagnostic) {
    const SourceRange range = diagnostic.range;
    if (range.start.line < 1) return "";
    const int32_t end =
        range.end.line == range.start.line ? range.end.column : range.start.column + 1;
    return SourceExcerpt(source_.Line(range.start.line), range.start.line, range.start.column, end,
                         colours_);
  }
};

// A JSON array written one element at a time: the separator and the
// indentation go before each element.
class StreamedArray {
 public:
  explicit StreamedArray(std::string indent) : indent_(std::move(indent)) {}
  void Begin() { count_ = 0; }
  std::string Next() { return (count_++ == 0 ? "\n" : ",\n") + indent_; }
  std::string End(std::string_view closingIndent) const {
    return count_ == 0 ? "]" : "\n" + std::string(closingIndent) + "]";
  }

 private:
  std::string indent_;
  size_t count_ = 0;
};

// One JSON document for the whole run, written file by file.
class JsonFormat : public LintFormat {
 public:
  void BeginRun() override { WriteOut("{\n  \"files\": ["); }

  void BeginFile(const std::string& path) override {
    WriteOut(files_.Next() + "{\n      \"path\": " + JsonQuotedUtf8(Utf8Path(path)) +
             ",\n      \"diagnostics\": [");
    diagnostics_.Begin();
  }

  void Diagnostic(const LintDiagnostic& diagnostic) override {
    JsonWriter json;
    json.BeginObject(JsonWriter::Layout::kInline);
    json.StringMember("severity", SeverityName(diagnostic.severity));
    json.StringMember("code", diagnostic.entry.code);
    json.IntMember("line", diagnostic.range.start.line);
    json.IntMember("column", diagnostic.range.start.column);
    json.IntMember("endLine", diagnostic.range.end.line);
    json.IntMember("endColumn", diagnostic.range.end.column);
    json.Key("testerLine");
    if (diagnostic.testerLine) {
      json.Int(*diagnostic.testerLine);
    } else {
      json.Null();
    }
    json.Key("promoted");
    json.Bool(diagnostic.promoted);
    json.StringMember("text", diagnostic.text);
    json.Key("message");
    if (diagnostic.message) {
      json.String(*diagnostic.message);
    } else {
      json.Null();
    }
    json.Key("notes");
    json.BeginArray(JsonWriter::Layout::kInline);
    for (const Note& note : diagnostic.notes) {
      const SourcePosition position = note.position.value_or(diagnostic.range.start);
      json.BeginObject(JsonWriter::Layout::kInline);
      json.StringMember("text", note.text);
      json.IntMember("line", position.line);
      json.IntMember("column", position.column);
      if (note.entry != nullptr) json.StringMember("code", note.entry->code);
      json.EndObject();
    }
    json.EndArray();
    WriteFixes(json, diagnostic);
    json.EndObject();
    WriteOut(diagnostics_.Next() + json.text());
  }

  // The edits of a fix, each as the range it replaces and the new text.
  void WriteFixes(JsonWriter& json, const LintDiagnostic& diagnostic) {
    json.Key("fixes");
    json.BeginArray(JsonWriter::Layout::kInline);
    if (diagnostic.fix != nullptr) {
      json.BeginObject(JsonWriter::Layout::kInline);
      json.StringMember("description", diagnostic.fix->title);
      json.Key("edits");
      json.BeginArray(JsonWriter::Layout::kInline);
      for (const TextEdit& edit : diagnostic.fix->edits) {
        const TextPosition start = source_.PositionOf(edit.begin);
        const TextPosition end = source_.PositionOf(edit.end);
        json.BeginObject(JsonWriter::Layout::kInline);
        json.IntMember("line", start.line);
        json.IntMember("column", start.column);
        json.IntMember("endLine", end.line);
        json.IntMember("endColumn", end.column);
        json.StringMember("newText", edit.newText);
        json.EndObject();
      }
      json.EndArray();
      json.EndObject();
    }
    json.EndArray();
  }

  void EndFile(const FileSummary& summary) override {
    std::string end = diagnostics_.End("      ");
    end += ",\n      \"omittedDiagnostics\": " + std::to_string(summary.omitted);
    end += ",\n      \"result\": ";
    end += summary.outOfMemory ? "null" : std::to_string(summary.result);
    WriteOut(end + "\n    }");
  }

  void Problem(const PathProblem& problem) override { problems_.push_back(problem); }

  void EndRun() override {
    std::string end = files_.End("  ") + ",\n  \"problems\": [";
    StreamedArray problems("    ");
    for (const PathProblem& problem : problems_) {
      end += problems.Next() + "{\"path\": " + JsonQuotedUtf8(Utf8Path(problem.path)) +
             ", \"reason\": " + JsonQuotedUtf8(problem.reason) + "}";
    }
    WriteOut(end + problems.End("  ") + "\n}\n");
  }

 private:
  StreamedArray files_{"    "};
  StreamedArray diagnostics_{"        "};
  std::vector<PathProblem> problems_;  // the paths that could not be checked
};

class QuietFormat : public LintFormat {
 public:
  void Diagnostic(const LintDiagnostic& /*diagnostic*/) override {}
};

}  // namespace

std::string OmittedText(size_t omitted) {
  return Counted(omitted, "more diagnostic") + " not shown";
}

std::optional<FormatKind> FormatNamed(std::string_view name) {
  for (const FormatName& format : kFormatNames) {
    if (name == format.name) return format.kind;
  }
  return std::nullopt;
}

std::unique_ptr<LintFormat> MakeFormat(FormatKind kind, const TerminalStyle& style) {
  switch (kind) {
    case FormatKind::kGcc:
      return std::make_unique<GccFormat>(style);
    case FormatKind::kJson:
      return std::make_unique<JsonFormat>();
    case FormatKind::kSarif:
      return MakeSarifFormat();
    case FormatKind::kQuiet:
      return std::make_unique<QuietFormat>();
  }
  return nullptr;
}

}  // namespace fxt
