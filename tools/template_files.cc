#include "tools/template_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
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

// The names in a directory, sorted, read whole before any of them is
// visited, so that a deep tree holds one directory open at a time.
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
  std::sort(names.begin(), names.end());
  return error == 0;
}

using Identity = std::pair<dev_t, ino_t>;

// A walk of one directory tree, without recursion, so that no tree is deep
// enough to exhaust the stack.
class TemplateWalk {
 public:
  TemplateWalk(std::vector<std::string>& found, std::vector<PathProblem>& problems)
      : found_(found), problems_(problems) {}

  void Run(const std::string& root, const struct stat& info) {
    folders_.push_back({{info.st_dev, info.st_ino}, kNone});
    pending_.push_back({root, 0});
    while (!pending_.empty()) {
      const Pending folder = pending_.back();
      pending_.pop_back();
      Visit(folder);
    }
  }

 private:
  static constexpr size_t kNone = SIZE_MAX;

  struct Folder {
    Identity identity;
    size_t parent;  // the folder above it in the walk, or kNone
  };
  struct Pending {
    std::string path;
    size_t folder;
  };

  std::vector<std::string>& found_;
  std::vector<PathProblem>& problems_;
  std::vector<Folder> folders_;   // every folder walked into
  std::vector<Pending> pending_;  // the folders still to read

  void Problem(const std::string& path, int error) {
    problems_.push_back({path, std::strerror(error)});
  }

  bool IsAbove(const Identity& identity, size_t folder) const {
    for (; folder != kNone; folder = folders_[folder].parent) {
      if (folders_[folder].identity == identity) return true;
    }
    return false;
  }

  void Visit(const Pending& folder) {
    std::vector<std::string> names;
    int error = 0;
    if (!ReadNames(folder.path, names, error)) Problem(folder.path, error);
    const std::string prefix = folder.path.ends_with('/') ? folder.path : folder.path + "/";
    const size_t firstPushed = pending_.size();
    for (const std::string& name : names) Entry(prefix + name, name, folder.folder);
    // Popped in name order, as a walk that went down at once would go.
    std::reverse(pending_.begin() + static_cast<std::ptrdiff_t>(firstPushed), pending_.end());
  }

  void Entry(const std::string& path, std::string_view name, size_t folder) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
      // A dangling link that names no template could not have been one.
      if (errno != ENOENT || IsTemplateName(name)) Problem(path, errno);
      return;
    }
    if (S_ISDIR(info.st_mode)) {
      if (name.starts_with('.')) return;
      const Identity identity{info.st_dev, info.st_ino};
      if (IsAbove(identity, folder)) {
        Problem(path, ELOOP);
        return;
      }
      folders_.push_back({identity, folder});
      pending_.push_back({path, folders_.size() - 1});
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
    TemplateWalk(below, problems).Run(path, info);
    if (below.empty() && problems.size() == problemsBefore) {
      problems.push_back({path, "no *.fxt template below this directory"});
    }
    std::sort(below.begin(), below.end());
    files.insert(files.end(), below.begin(), below.end());
  }
  return files;
}

}  // namespace fxt
