#include "tools/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace fxt {
namespace {

// Writes every byte, going on after a signal; false with errno on failure.
bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string Reason(int error) { return std::strerror(error); }

std::string WriteInPlace(const std::string& path, std::string_view bytes) {
  const int descriptor = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (descriptor < 0) return Reason(errno);
  const bool written = WriteAll(descriptor, bytes);
  const int error = errno;
  if (close(descriptor) != 0 && written) return Reason(errno);
  return written ? "" : Reason(error);
}

// The mode a new file gets: readable as the umask allows, as a file that
// the program created with open() would be.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

std::string WriteWholeFile(const std::string& path, std::string_view bytes) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    return WriteInPlace(path, bytes);
  }
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = mkostemp(name.data(), O_CLOEXEC);
  if (descriptor < 0) return Reason(errno);
  bool written = WriteAll(descriptor, bytes) && fchmod(descriptor, NewFileMode()) == 0;
  int error = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && rename(name.data(), path.c_str()) == 0) return "";
  if (written) error = errno;
  unlink(name.data());
  return Reason(error);
}

}  // namespace fxt
