#include "config/project_config.h"

#include <sys/stat.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include "lint/code_filter.h"
#include "reader/input_file.h"

#if FXT_HAVE_TOML
#include <toml++/toml.h>
#endif

namespace fxt {
namespace {

// The formatter's range of indents: a larger one is a slip.
constexpr int64_t MOST_INDENT = 8;

#if FXT_HAVE_TOML

ConfigProblem ProblemAt(const std::string& path, const toml::source_region& where,
                        std::string message) {
  return {path, static_cast<int32_t>(where.begin.line), static_cast<int32_t>(where.begin.column),
          std::move(message)};
}

// The keys of the file, each read by one function; a key it does not know
// is a problem, since a misspelt key would otherwise be passed over.
class SettingsReader {
 public:
  explicit SettingsReader(std::string path) { config_.path = std::move(path); }

  ConfigRead Read(const toml::table& table) {
    for (auto&& [key, node] : table) {
      if (!ReadKey(key, node)) return {std::nullopt, problem_};
    }
    return {config_, std::nullopt};
  }

 private:
  ProjectConfig config_;
  ConfigProblem problem_;

  bool Fail(const toml::source_region& where, std::string message) {
    problem_ = ProblemAt(config_.path, where, std::move(message));
    return false;
  }
  bool Fail(const toml::node& node, std::string message) {
    return Fail(node.source(), std::move(message));
  }

  bool ReadKey(const toml::key& name, const toml::node& node) {
    const std::string_view key = name.str();
    if (key == "select") return ReadCodes(node, "select", config_.select);
    if (key == "ignore") return ReadCodes(node, "ignore", config_.ignore);
    if (key == "werror") {
      const auto* value = node.as_boolean();
      if (value == nullptr) return Fail(node, "werror takes true or false");
      config_.werror = value->get();
      return true;
    }
    if (key == "max-diagnostics") {
      const auto* value = node.as_integer();
      if (value == nullptr || value->get() < 0) {
        return Fail(node, "max-diagnostics takes a whole number, 0 or more");
      }
      config_.maxDiagnostics = static_cast<size_t>(value->get());
      return true;
    }
    if (key == "format") return ReadFormat(node);
    return Fail(name.source(),
                "unknown key '" + std::string(key) +
                    "': the keys are select, ignore, werror, max-diagnostics and [format]");
  }

  // A list of codes or prefixes: ["FL1", "FT304"], or one string "FL1,FT304".
  bool ReadCodes(const toml::node& node, std::string_view key,
                 std::optional<std::vector<std::string>>& to) {
    std::vector<std::string> codes;
    const auto take = [&](const toml::node& item) {
      const auto* code = item.as_string();
      if (code == nullptr) return Fail(item, std::string(key) + " takes a list of codes");
      std::string unknown;
      CodeFilter check;
      if (!check.Select(code->get(), unknown)) {
        return Fail(item, unknown + " is no code and begins none");
      }
      codes.push_back(code->get());
      return true;
    };
    if (const auto* list = node.as_array()) {
      for (const toml::node& item : *list) {
        if (!take(item)) return false;
      }
    } else if (!take(node)) {
      return false;
    }
    to = std::move(codes);
    return true;
  }

  bool ReadFormat(const toml::node& node) {
    const auto* table = node.as_table();
    if (table == nullptr) return Fail(node, "format is a table: [format]");
    for (auto&& [key, value] : *table) {
      if (key.str() != "indent") {
        return Fail(key.source(),
                    "unknown key '" + std::string(key.str()) + "' in [format]: the key is indent");
      }
      const auto* indent = value.as_integer();
      if (indent == nullptr || indent->get() < 0 || indent->get() > MOST_INDENT) {
        return Fail(value,
                    "indent takes a whole number of blanks, 0 to " + std::to_string(MOST_INDENT));
      }
      config_.formatIndent = static_cast<int32_t>(indent->get());
    }
    return true;
  }
};

ConfigRead ParseSettings(const std::string& path, std::string_view text) {
  try {
    const toml::table table = toml::parse(text, path);
    return SettingsReader(path).Read(table);
  } catch (const toml::parse_error& error) {
    return {std::nullopt, ProblemAt(path, error.source(), std::string(error.description()))};
  }
}

#else

ConfigRead ParseSettings(const std::string& path, std::string_view /*text*/) {
  return {std::nullopt,
          ConfigProblem{path, 0, 0,
                        "this build of fxtlint cannot read settings files (it was built without "
                        "toml++, libtomlplusplus-dev); rebuild it with toml++, or pass "
                        "--no-config to check without the file's settings"}};
}

#endif

bool IsFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

}  // namespace

std::string ConfigProblem::Text() const {
  if (line == 0) return path + ": " + message;
  return path + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

bool CanReadProjectConfig() { return FXT_HAVE_TOML != 0; }

ConfigRead ReadProjectConfig(const std::string& path) {
  const InputFile file = ReadInputFile(path.c_str());
  if (file.status != InputFileStatus::kRead) {
    return {std::nullopt, ConfigProblem{path, 0, 0, file.reason}};
  }
  const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  return ParseSettings(path, text);
}

std::optional<std::string> ConfigFinder::For(const std::string& folder) {
  // The folders passed on the way up, each to be given the answer found.
  std::vector<std::string> passed;
  std::optional<std::string> answer;
  for (std::filesystem::path here(folder);; here = here.parent_path()) {
    if (const auto known = found_.find(here.string()); known != found_.end()) {
      answer = known->second;
      break;
    }
    passed.push_back(here.string());
    const std::string candidate = (here / CONFIG_FILE_NAME).string();
    if (IsFile(candidate)) {
      answer = candidate;
      break;
    }
    if (!here.has_parent_path() || here.parent_path() == here) break;
  }
  for (const std::string& name : passed) found_.emplace(name, answer);
  return answer;
}

std::string AbsoluteFolderOf(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return ".";
  return absolute.lexically_normal().parent_path().string();
}

}  // namespace fxt
