#include "tools/lint_formats.h"

#include <string>

#include "tools/display_path.h"
#include "tools/json_writer.h"
#include "tools/standard_output.h"

namespace fxt {
namespace {

const char* SeverityName(const LintDiagnostic& diagnostic) {
  return diagnostic.severity == Severity::kError ? "error" : "warning";
}

// FILE:LINE: SEVERITY: TEXT, one line each; FILE: SEVERITY: TEXT for a
// message without a line.
class GccFormat : public LintFormat {
 public:
  void BeginFile(const std::string& path) override { path_ = DisplayPath(path); }
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    std::string line = path_;
    if (diagnostic.line) line += ":" + std::to_string(*diagnostic.line);
    line += std::string(": ") + SeverityName(diagnostic) + ": ";
    line += diagnostic.text;
    line += '\n';
    WriteOut(line);
  }

 private:
  std::string path_;
};

// One JSON document for the whole run, written file by file.
class JsonFormat : public LintFormat {
 public:
  void BeginRun() override { WriteOut("{\n  \"files\": ["); }

  void BeginFile(const std::string& path) override {
    WriteOut(std::string(filesWritten_++ == 0 ? "" : ",") + "\n    {\n      \"path\": " +
             JsonQuotedUtf8(Utf8Path(path)) + ",\n      \"diagnostics\": [");
    diagnosticsWritten_ = 0;
  }

  void Diagnostic(const LintDiagnostic& diagnostic) override {
    JsonWriter json;
    json.BeginObject(JsonWriter::Layout::kInline);
    json.StringMember("severity", SeverityName(diagnostic));
    json.Key("line");
    if (diagnostic.line) {
      json.Int(*diagnostic.line);
    } else {
      json.Null();
    }
    json.StringMember("text", diagnostic.text);
    json.StringMember("message", diagnostic.message);
    json.EndObject();
    WriteOut(std::string(diagnosticsWritten_++ == 0 ? "" : ",") + "\n        " + json.text());
  }

  void EndFile(const FileSummary& summary) override {
    std::string end = diagnosticsWritten_ == 0 ? "]" : "\n      ]";
    end += ",\n      \"omittedDiagnostics\": " + std::to_string(summary.omitted);
    end += ",\n      \"result\": ";
    end += summary.outOfMemory ? "null" : std::to_string(summary.result);
    WriteOut(end + "\n    }");
  }

  void Problem(const PathProblem& problem) override { problems_.push_back(problem); }

  void EndRun() override {
    std::string end = filesWritten_ == 0 ? "],\n  \"problems\": [" : "\n  ],\n  \"problems\": [";
    for (size_t i = 0; i < problems_.size(); ++i) {
      end += i == 0 ? "\n    " : ",\n    ";
      end += "{\"path\": " + JsonQuotedUtf8(Utf8Path(problems_[i].path)) +
             ", \"reason\": " + JsonQuotedUtf8(problems_[i].reason) + "}";
    }
    end += problems_.empty() ? "]\n}\n" : "\n  ]\n}\n";
    WriteOut(end);
  }

 private:
  size_t filesWritten_ = 0;
  size_t diagnosticsWritten_ = 0;
  std::vector<PathProblem> problems_;  // the paths that could not be checked
};

class QuietFormat : public LintFormat {
 public:
  void Diagnostic(const LintDiagnostic& /*diagnostic*/) override {}
};

}  // namespace

std::optional<FormatKind> FormatNamed(std::string_view name) {
  if (name == "gcc") return FormatKind::kGcc;
  if (name == "json") return FormatKind::kJson;
  if (name == "quiet") return FormatKind::kQuiet;
  return std::nullopt;
}

std::unique_ptr<LintFormat> MakeFormat(FormatKind kind) {
  switch (kind) {
    case FormatKind::kGcc:
      return std::make_unique<GccFormat>();
    case FormatKind::kJson:
      return std::make_unique<JsonFormat>();
    case FormatKind::kQuiet:
      return std::make_unique<QuietFormat>();
  }
  return nullptr;
}

}  // namespace fxt
