// The settings that apply to each template of a run: every fxtlint.toml
// that a template's folder finds, read once, before the first template is
// touched, so that a file that cannot be read stops the run at its start.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/project_config.h"

namespace fxt {

class ProjectSettings {
 public:
  // Reads the file that applies to each folder (absolute paths) and tells
  // `problem` of each that cannot be read, its path below the working
  // folder where it is there. False when one could not be read.
  bool Read(const std::vector<std::string>& folders,
            const std::function<void(const ConfigProblem&)>& problem);
  // The settings for the templates of a folder that Read was given: null
  // where no file applies, the defaults where it could not be read.
  const ProjectConfig* For(const std::string& folder);

 private:
  ConfigFinder finder_;
  std::map<std::string, ProjectConfig> settings_;  // by the path of their file
};

// The folder whose settings apply to a template: its own, or for standard
// input ("-") that of the name it is given, else the working folder.
std::string SettingsFolderOf(const std::string& path, const std::optional<std::string>& stdinName);

// A path below the working folder as a relative one, as the user wrote the
// templates' paths; any other as it is.
std::string BelowWorkingFolder(const std::string& path);

}  // namespace fxt
