#include "config/project_settings.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <optional>
#include <utility>

namespace fxt {

bool ProjectSettings::Read(const std::vector<std::string>& folders,
                           const std::function<void(const ConfigProblem&)>& problem) {
  bool read = true;
  for (const std::string& folder : folders) {
    const std::optional<std::string> file = finder_.For(folder);
    if (!file || settings_.contains(*file)) continue;
    ConfigRead settings = ReadProjectConfig(*file);
    if (settings.problem) {
      settings.problem->path = BelowWorkingFolder(settings.problem->path);
      problem(*settings.problem);
      read = false;
      settings_.emplace(*file, ProjectConfig{});
      continue;
    }
    settings_.emplace(*file, std::move(*settings.config));
  }
  return read;
}

const ProjectConfig* ProjectSettings::For(const std::string& folder) {
  const std::optional<std::string> file = finder_.For(folder);
  if (!file) return nullptr;
  const auto found = settings_.find(*file);
  return found == settings_.end() ? nullptr : &found->second;
}

std::string SettingsFolderOf(const std::string& path, const std::optional<std::string>& stdinName) {
  if (path != "-") return AbsoluteFolderOf(path);
  return AbsoluteFolderOf(stdinName.value_or("./-"));
}

std::string BelowWorkingFolder(const std::string& path) {
  std::array<char, PATH_MAX> folder{};
  if (getcwd(folder.data(), folder.size()) == nullptr) return path;
  const std::string prefix = std::string(folder.data()) + "/";
  return path.starts_with(prefix) ? path.substr(prefix.size()) : path;
}

}  // namespace fxt
