// SARIF 2.1.0: one run, the catalogue as the tool's rules, one result per
// diagnostic, and the paths that could not be checked as notifications of
// the run's invocation.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "lint/rule_docs.h"
#include "tools/file_uri.h"
#include "tools/json_writer.h"
#include "tools/lint_formats.h"
#include "tools/standard_output.h"

namespace fxt {
namespace {

const char* LevelOf(Severity severity) {
  return severity == Severity::kWarning ? "warning" : "error";
}

// A relative reference for a path below the working directory, a file URI
// for any other absolute path.
std::string ArtifactUri(std::string_view path) {
  if (!path.starts_with('/')) return PercentEncoded(path);
  std::array<char, PATH_MAX> directory{};
  if (getcwd(directory.data(), directory.size()) != nullptr) {
    const std::string prefix = std::string(directory.data()) + "/";
    if (path.starts_with(prefix)) return PercentEncoded(path.substr(prefix.size()));
  }
  return FileUri(path);
}

// "key": {"member": "value"}, the shape of SARIF's messages and levels.
void SmallObject(JsonWriter& json, std::string_view key, std::string_view member,
                 std::string_view value) {
  json.Key(key);
  json.BeginObject(JsonWriter::Layout::kInline);
  json.StringMember(member, value);
  json.EndObject();
}

// Each line of an explanation a paragraph of its own.
std::string MarkdownParagraphs(std::string_view text) {
  std::string markdown;
  for (const char c : text) markdown += c == '\n' ? std::string("\n\n") : std::string(1, c);
  while (markdown.ends_with('\n')) markdown.pop_back();
  return markdown;
}

std::string Location(std::string_view path) {
  return "{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
         JsonQuotedUtf8(ArtifactUri(path)) + "}}}";
}

class SarifFormat : public LintFormat {
 public:
  void BeginRun() override {
    JsonWriter json;
    json.BeginObject();
    json.StringMember("$schema", "https://json.schemastore.org/sarif-2.1.0.json");
    json.StringMember("version", "2.1.0");
    json.Key("runs");
    json.BeginArray();
    json.BeginObject();
    json.Key("tool");
    json.BeginObject();
    json.Key("driver");
    json.BeginObject();
    json.StringMember("name", "fxtlint");
    json.StringMember("version", FXT_VERSION);
    json.StringMember("informationUri", DocumentationUri());
    json.Key("rules");
    WriteRules(json);
    json.EndObject();
    json.EndObject();
    WriteOut(json.text() + ",\n      \"results\": [");
  }

  void BeginFile(const std::string& path) override { path_ = path; }

  void Diagnostic(const LintDiagnostic& diagnostic) override {
    JsonWriter json;
    json.BeginObject(JsonWriter::Layout::kInline);
    json.StringMember("ruleId", diagnostic.entry.code);
    json.IntMember("ruleIndex", ruleIndex_[static_cast<size_t>(diagnostic.entry.id)]);
    json.StringMember("level", LevelOf(diagnostic.severity));
    SmallObject(json, "message", "text", diagnostic.text);
    json.Key("locations");
    json.BeginArray(JsonWriter::Layout::kInline);
    json.BeginObject(JsonWriter::Layout::kInline);
    WritePhysicalLocation(json, diagnostic.range.start, diagnostic.range.end);
    json.EndObject();
    json.EndArray();
    WriteRelatedLocations(json, diagnostic);
    if (diagnostic.fix != nullptr) WriteFix(json, *diagnostic.fix);
    json.Key("properties");
    json.BeginObject(JsonWriter::Layout::kInline);
    if (diagnostic.message) json.StringMember("testerMessage", *diagnostic.message);
    json.Key("notes");
    json.BeginArray(JsonWriter::Layout::kInline);
    for (const Note& note : diagnostic.notes) json.String(note.text);
    json.EndArray();
    json.EndObject();
    json.EndObject();
    WriteOut((resultsWritten_++ == 0 ? "\n        " : ",\n        ") + json.text());
  }

  void EndFile(const FileSummary& summary) override {
    if (summary.omitted == 0) return;
    notifications_.push_back(
        {"warning", OmittedText(summary.omitted) + " (--max-diagnostics)", summary.path});
  }

  void Problem(const PathProblem& problem) override {
    notifications_.push_back({"error", problem.reason, problem.path});
  }

  void EndRun() override {
    std::string end = resultsWritten_ == 0 ? "]" : "\n      ]";
    end += ",\n      \"invocations\": [\n        {\"executionSuccessful\": ";
    end += HasErrors() ? "false" : "true";
    end += ", \"toolExecutionNotifications\": [";
    for (size_t i = 0; i < notifications_.size(); ++i) {
      const Notification& notification = notifications_[i];
      end += i == 0 ? "\n          " : ",\n          ";
      end += "{\"level\": \"" + notification.level +
             "\", \"message\": {\"text\": " + JsonQuotedUtf8(notification.text) +
             "}, \"locations\": [" + Location(notification.path) + "]}";
    }
    end += notifications_.empty() ? "]}\n      ]\n    }\n  ]\n}\n"
                                  : "\n        ]}\n      ]\n    }\n  ]\n}\n";
    WriteOut(end);
  }

 private:
  struct Notification {
    std::string level;
    std::string text;
    std::string path;
  };

  std::string path_;
  size_t resultsWritten_ = 0;
  std::vector<Notification> notifications_;
  std::array<int, CATALOGUE_SIZE> ruleIndex_{};

  // The file being reported.
  void WriteArtifactLocation(JsonWriter& json) const {
    json.Key("artifactLocation");
    json.BeginObject(JsonWriter::Layout::kInline);
    json.Utf8StringMember("uri", ArtifactUri(path_));
    json.EndObject();
  }

  // A region of one line, or, without an end, the place where a note points.
  void WritePhysicalLocation(JsonWriter& json, SourcePosition position,
                             std::optional<SourcePosition> end = std::nullopt) const {
    json.Key("physicalLocation");
    json.BeginObject(JsonWriter::Layout::kInline);
    WriteArtifactLocation(json);
    json.Key("region");
    json.BeginObject(JsonWriter::Layout::kInline);
    json.IntMember("startLine", position.line);
    json.IntMember("startColumn", position.column);
    if (end) {
      json.IntMember("endLine", end->line);
      json.IntMember("endColumn", end->column);
    }
    json.EndObject();
    json.EndObject();
  }

  // A fix changes one artifact, the file: each edit replaces a region,
  // given both by lines and columns and by bytes, with the new text.
  void WriteFix(JsonWriter& json, const Fix& fix) {
    json.Key("fixes");
    json.BeginArray(JsonWriter::Layout::kInline);
    json.BeginObject(JsonWriter::Layout::kInline);
    SmallObject(json, "description", "text", fix.title);
    json.Key("artifactChanges");
    json.BeginArray(JsonWriter::Layout::kInline);
    json.BeginObject(JsonWriter::Layout::kInline);
    WriteArtifactLocation(json);
    json.Key("replacements");
    json.BeginArray(JsonWriter::Layout::kInline);
    for (const TextEdit& edit : fix.edits) {
      const TextPosition start = source_.PositionOf(edit.begin);
      const TextPosition end = source_.PositionOf(edit.end);
      json.BeginObject(JsonWriter::Layout::kInline);
      json.Key("deletedRegion");
      json.BeginObject(JsonWriter::Layout::kInline);
      json.IntMember("startLine", start.line);
      json.IntMember("startColumn", start.column);
      json.IntMember("endLine", end.line);
      json.IntMember("endColumn", end.column);
      json.IntMember("byteOffset", static_cast<int64_t>(edit.begin));
      json.IntMember("byteLength", static_cast<int64_t>(edit.end - edit.begin));
      json.EndObject();
      SmallObject(json, "insertedContent", "text", edit.newText);
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.EndArray();
    json.EndObject();
    json.EndArray();
  }

  // The notes that point at another line, such as the attribute that took
  // a channel first.
  void WriteRelatedLocations(JsonWriter& json, const LintDiagnostic& diagnostic) const {
    int id = 0;
    for (const Note& note : diagnostic.notes) {
      if (!note.position) continue;
      if (id == 0) {
        json.Key("relatedLocations");
        json.BeginArray(JsonWriter::Layout::kInline);
      }
      json.BeginObject(JsonWriter::Layout::kInline);
      json.IntMember("id", id++);
      WritePhysicalLocation(json, *note.position);
      SmallObject(json, "message", "text", note.text);
      json.EndObject();
    }
    if (id > 0) json.EndArray();
  }

  // Every entry that fxtlint can report; the load's own messages are none.
  void WriteRules(JsonWriter& json) {
    json.BeginArray();
    int index = 0;
    for (const CatalogueEntry& entry : Catalogue) {
      if (entry.severity == Severity::kNote) continue;
      ruleIndex_[static_cast<size_t>(entry.id)] = index++;
      json.BeginObject(JsonWriter::Layout::kInline);
      json.StringMember("id", entry.code);
      SmallObject(json, "shortDescription", "text", entry.summary);
      SmallObject(json, "fullDescription", "text", FullDescription(entry));
      const std::string explanation = Explanation(entry);
      json.Key("help");
      json.BeginObject(JsonWriter::Layout::kInline);
      json.StringMember("text", WithoutMarks(explanation));
      json.StringMember("markdown", MarkdownParagraphs(explanation));
      json.EndObject();
      json.StringMember("helpUri", CodeUri(entry.code));
      SmallObject(json, "defaultConfiguration", "level", LevelOf(entry.severity));
      json.EndObject();
    }
    json.EndArray();
  }

  bool HasErrors() const {
    return std::ranges::any_of(notifications_, [](const Notification& notification) {
      return notification.level == "error";
    });
  }
};

}  // namespace

std::unique_ptr<LintFormat> MakeSarifFormat() { return std::make_unique<SarifFormat>(); }

}  // namespace fxt
