#include "tools/lint.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "load/run_load.h"
#include "tools/json_writer.h"

namespace fxt {
namespace {

class CollectingTarget : public ReportTarget {
 public:
  explicit CollectingTarget(std::vector<LintDiagnostic>& out) : out_(out) {}
  void Report(const Diagnostic& diagnostic) override {
    if (diagnostic.severity == Severity::kNote) return;
    out_.push_back(
        {diagnostic.severity, diagnostic.line, std::string(diagnostic.text), diagnostic.message});
  }

 private:
  std::vector<LintDiagnostic>& out_;
};

const char* SeverityName(const LintDiagnostic& diagnostic) {
  return diagnostic.IsError() ? "error" : "warning";
}

std::vector<std::string> TemplatesBelow(const std::filesystem::path& directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> found;
  std::error_code error;
  fs::recursive_directory_iterator it(directory, fs::directory_options::skip_permission_denied,
                                      error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->path().extension() == ".fxt" && it->is_regular_file(error)) {
      found.push_back(it->path().string());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

FileReport CheckTemplate(const std::string& path, const std::vector<uint8_t>& input) {
  FileReport report{path, 0, {}};
  CollectingTarget target(report.diagnostics);
  report.result = RunLoad(input, &target).result;
  return report;
}

std::vector<std::string> CollectTemplates(const std::vector<std::string>& paths,
                                          std::vector<PathProblem>& problems) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
      files.push_back(path);
      continue;
    }
    const std::vector<std::string> below = TemplatesBelow(path);
    if (below.empty()) problems.push_back({path, "no *.fxt template below this directory"});
    files.insert(files.end(), below.begin(), below.end());
  }
  return files;
}

std::string GccLines(const FileReport& report) {
  std::string lines;
  for (const LintDiagnostic& diagnostic : report.diagnostics) {
    lines += report.path;
    if (diagnostic.line) lines += ":" + std::to_string(*diagnostic.line);
    lines += std::string(": ") + SeverityName(diagnostic) + ": " + diagnostic.text + "\n";
  }
  return lines;
}

std::string LintJson(const std::vector<FileReport>& reports,
                     const std::vector<PathProblem>& problems) {
  using Layout = JsonWriter::Layout;
  JsonWriter json;
  json.BeginObject();
  json.Key("files");
  json.BeginArray();
  for (const FileReport& report : reports) {
    json.BeginObject();
    json.StringMember("path", report.path);
    json.IntMember("result", report.result);
    json.Key("diagnostics");
    json.BeginArray();
    for (const LintDiagnostic& diagnostic : report.diagnostics) {
      json.BeginObject(Layout::kInline);
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
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.Key("problems");
  json.BeginArray();
  for (const PathProblem& problem : problems) {
    json.BeginObject(Layout::kInline);
    json.StringMember("path", problem.path);
    json.StringMember("reason", problem.reason);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.text() + "\n";
}

}  // namespace fxt
