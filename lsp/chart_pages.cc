#include "lsp/chart_pages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "tools/replace_file.h"

namespace fxt::lsp {
namespace {

// Where temporary files go: $TMPDIR when it is an absolute path (a page's
// address is made from it), else /tmp; without a '/' at its end.
std::string TemporaryFolder() {
  const char* temporary = std::getenv("TMPDIR");
  std::string folder = temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The page's file name: the document's file name, made safe, and a hash of
// its address, so that two documents of one name keep two pages.
std::string PageName(std::string_view uri) {
  std::string name(uri.substr(uri.find_last_of('/') + 1));
  for (char& c : name) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_';
    if (!safe) c = '_';
  }
  constexpr size_t kLongestName = 100;
  name.resize(std::min(name.size(), kLongestName));
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string_view>{}(uri));
  return name + "-" + hash + ".html";
}

// A path as a file: address, each byte outside the unreserved ones and '/'
// percent-encoded.
std::string FileUri(std::string_view path) {
  std::string uri = "file://";
  for (const char c : path) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::strchr("-._~/", c) != nullptr;
    if (plain) {
      uri += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      uri += escaped;
    }
  }
  return uri;
}

}  // namespace

// mkdtemp makes a folder that did not exist, open to its owner alone, so no
// one can have put a link where a page is written. One that has gone since
// (a cleaner of old temporary files took it) is made anew, and so is one
// that is no longer ours alone.
std::string ChartPages::MakeFolder() {
  struct stat info {};
  if (!folder_.empty() && lstat(folder_.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
      info.st_uid == geteuid() && (info.st_mode & 0777) == 0700) {
    return "";
  }
  names_.clear();
  std::string pattern = TemporaryFolder() + "/fxt-chart-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    folder_.clear();
    return "no folder for it could be made in " + TemporaryFolder() + ": " + std::strerror(errno);
  }
  folder_ = pattern;
  return "";
}

WrittenPage ChartPages::Write(std::string_view uri, std::string_view page) {
  if (std::string problem = MakeFolder(); !problem.empty()) return {"", "", problem};
  const std::string name = PageName(uri);
  const std::string path = folder_ + "/" + name;
  std::string problem = WriteWholeFile(path, page);
  if (!problem.empty()) return {"", "", problem};
  names_.insert(name);
  return {path, FileUri(path), ""};
}

void ChartPages::RemoveAll() {
  if (folder_.empty()) return;
  for (const std::string& name : names_) unlink((folder_ + "/" + name).c_str());
  rmdir(folder_.c_str());
  names_.clear();
  folder_.clear();
}

}  // namespace fxt::lsp
