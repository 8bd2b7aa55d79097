#include "tools/template_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

namespace fxt {
namespace {

bool IsTemplateName(std::string_view name) {
  constexpr std::string_view kExtension = ".fxt";
  if (name.size() <= kExtension.size()) return false;
  const std::string_view ending = name.substr(name.size() - kExtension.size());
  return std::equal(ending.begin(), ending.end(), kExtension.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
}

// The names in a directory, read whole before any of them is visited, so
// that a deep tree holds one directory open at a time.
bool ReadNames(const std::string& directory, std::vector<std::string>& names, int& error) {
  DIR* stream = opendir(directory.c_str());
  if (stream == nullptr) {
    error = errno;
    return false;
  }
  errno = 0;
  while (const dirent* entry = readdir(stream)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
    errno = 0;
  }
  error = errno;
  closedir(stream);
  return error == 0;
}

class TemplateWalk {
 public:
  TemplateWalk(std::vector<std::string>& found, std::vector<PathProblem>& problems)
      : found_(found), problems_(problems) {}

  void Directory(const std::string& path, const struct stat& info) {
    const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
    if (std::find(above_.begin(), above_.end(), identity) != above_.end()) {
      Problem(path, ELOOP);
      return;
    }
    std::vector<std::string> names;
    int error = 0;
    if (!ReadNames(path, names, error)) Problem(path, error);
    above_.push_back(identity);
    const std::string prefix = path.ends_with('/') ? path : path + "/";
    for (const std::string& name : names) Entry(prefix + name, name);
    above_.pop_back();
  }

 private:
  std::vector<std::string>& found_;
  std::vector<PathProblem>& problems_;
  std::vector<std::pair<dev_t, ino_t>> above_;  // the folders being walked

  void Problem(const std::string& path, int error) {
    problems_.push_back({path, std::strerror(error)});
  }

  void Entry(const std::string& path, std::string_view name) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
      // A dangling link that names no template could not have been one.
      if (errno != ENOENT || IsTemplateName(name)) Problem(path, errno);
      return;
    }
    if (S_ISDIR(info.st_mode)) {
      if (!name.starts_with('.')) Directory(path, info);
    } else if (IsTemplateName(name)) {
      found_.push_back(path);
    }
  }
};

}  // namespace

std::vector<std::string> CollectTemplates(const std::vector<std::string>& paths,
                                          std::vector<PathProblem>& problems) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    struct stat info {};
    if (path == "-" || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      files.push_back(path);  // reading it tells what is wrong with it
      continue;
    }
    std::vector<std::string> below;
    const size_t problemsBefore = problems.size();
    TemplateWalk(below, problems).Directory(path, info);
    if (below.empty() && problems.size() == problemsBefore) {
      problems.push_back({path, "no *.fxt template below this directory"});
    }
    std::sort(below.begin(), below.end());
    files.insert(files.end(), below.begin(), below.end());
  }
  return files;
}

}  // namespace fxt
