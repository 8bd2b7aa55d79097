#include "tools/template_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
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

bool IsSymbolicLink(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// A walk of one directory tree, without recursion, so that no tree is deep
// enough to exhaust the stack. Each folder is walked once, by the first way
// to it: its real place, where it has one in the tree, since links to
// folders are followed only once no real folder is left to walk.
class TemplateWalk {
 public:
  TemplateWalk(std::vector<std::string>& found, std::vector<PathProblem>& problems, size_t most,
               const std::function<bool()>& keepGoing)
      : found_(found), problems_(problems), most_(most), keepGoing_(keepGoing) {}

  // Whether the walk ended early: `keepGoing` said no.
  bool Stopped() const { return stopped_; }

  void Run(const std::string& root, const struct stat& info) {
    Enter(root, {info.st_dev, info.st_ino}, kNone);
    for (size_t link = 0; (!pending_.empty() || link < links_.size()) && found_.size() < most_;) {
      if (pending_.empty()) {
        const Way& way = links_[link++];
        Enter(way.path, way.identity, way.parent);
        continue;
      }
      if (keepGoing_ && !keepGoing_()) {
        stopped_ = true;
        return;
      }
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
  struct Way {
    std::string path;
    Identity identity;  // of the folder it leads to
    size_t parent;      // the folder that holds it
  };

  std::vector<std::string>& found_;
  std::vector<PathProblem>& problems_;
  size_t most_;
  const std::function<bool()>& keepGoing_;
  bool stopped_ = false;
  std::vector<Folder> folders_;   // every folder walked into
  std::set<Identity> walked_;     // the same, for finding one
  std::vector<Pending> pending_;  // the folders still to read
  std::vector<Way> links_;        // the links to folders, to follow last

  void Problem(const std::string& path, int error) {
    problems_.push_back({path, std::strerror(error)});
  }

  bool IsAbove(const Identity& identity, size_t folder) const {
    for (; folder != kNone; folder = folders_[folder].parent) {
      if (folders_[folder].identity == identity) return true;
    }
    return false;
  }

  // A way back to a folder above is a problem. Another way to a folder
  // already walked, such as a second link to it, is passed over: walking it
  // again would report its templates twice, and links that fan out would
  // make the walk grow exponentially.
  void Enter(const std::string& path, const Identity& identity, size_t parent) {
    if (IsAbove(identity, parent)) {
      Problem(path, ELOOP);
      return;
    }
    if (!walked_.insert(identity).second) return;
    folders_.push_back({identity, parent});
    pending_.push_back({path, folders_.size() - 1});
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
      if (IsSymbolicLink(path)) {
        links_.push_back({path, identity, folder});
      } else {
        Enter(path, identity, folder);
      }
    } else if (IsTemplateName(name)) {
      found_.push_back(path);
    }
  }
};

}  // namespace

std::vector<std::string> CollectTemplates(const std::vector<std::string>& paths,
                                          std::vector<PathProblem>& problems, size_t mostFiles,
                                          const std::function<bool()>& keepGoing) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    if (files.size() >= mostFiles) break;
    struct stat info {};
    if (path == "-" || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      files.push_back(path);  // reading it tells what is wrong with it
      continue;
    }
    std::vector<std::string> below;
    const size_t problemsBefore = problems.size();
    TemplateWalk walk(below, problems, mostFiles - files.size(), keepGoing);
    walk.Run(path, info);
    if (walk.Stopped()) break;
    if (below.empty() && problems.size() == problemsBefore) {
      problems.push_back({path, "no *.fxt template below this directory"});
    }
    std::sort(below.begin(), below.end());
    below.resize(std::min(below.size(), mostFiles - files.size()));
    files.insert(files.end(), below.begin(), below.end());
  }
  return files;
}

}  // namespace fxt
