#include "tools/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "reader/input_file.h"

namespace fxt {
namespace {

std::string Reason(int error) { return std::strerror(error); }

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The bytes into a new file with the mode and owner of `like`; an error
// number, or 0.
int WriteTemporary(int fd, std::string_view bytes, const struct stat& like) {
  if (!WriteAll(fd, bytes)) return errno;
  if (fchmod(fd, like.st_mode & 07777) != 0) return errno;
  // Only root may give a file away; anyone may keep their own.
  if (fchown(fd, like.st_uid, like.st_gid) != 0 && errno != EPERM) return errno;
  return 0;
}

std::string WriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return Reason(errno);
  const bool written = WriteAll(fd, bytes);
  const int error = errno;
  if (close(fd) != 0 && written) return Reason(errno);
  return written ? "" : Reason(error);
}

// The mode a new file gets: as the umask allows, as a file that the program
// created with open() would have.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// Whether the file holds what was read from it; the reason when it does not.
std::string Unchanged(const std::string& path, std::optional<std::string_view> original) {
  if (!original) return {};
  const InputFile now = ReadInputFile(path.c_str());
  if (now.status != InputFileStatus::kRead) return now.reason;
  const std::string_view held(reinterpret_cast<const char*>(now.bytes.data()), now.bytes.size());
  return held == *original ? std::string() : "it changed since it was read";
}

}  // namespace

std::string WriteWholeFile(const std::string& path, std::string_view bytes) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return WriteInPlace(path, bytes);
  std::string temporary = path + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Reason(errno);
  int error = WriteAll(fd, bytes) && fchmod(fd, NewFileMode()) == 0 ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error == 0) return {};
  unlink(temporary.c_str());
  return Reason(error);
}

std::string ReplaceFile(const std::string& path, std::string_view bytes,
                        std::optional<std::string_view> original) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                             &std::free);
  if (resolved == nullptr) return Reason(errno);
  const std::string target = resolved.get();
  struct stat info {};
  if (stat(target.c_str(), &info) != 0) return Reason(errno);
  if (std::string changed = Unchanged(target, original); !changed.empty()) return changed;
  std::string temporary = target + ".fxt-new-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return Reason(errno);
  int error = WriteTemporary(fd, bytes, info);
  if (close(fd) != 0 && error == 0) error = errno;
  // The last look, as close to the rename as can be.
  std::string refused = error == 0 ? Unchanged(target, original) : std::string();
  if (error == 0 && refused.empty() && rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error == 0 && refused.empty()) return {};
  unlink(temporary.c_str());
  return error != 0 ? Reason(error) : refused;
}

}  // namespace fxt
