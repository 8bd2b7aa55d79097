#include "reader/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace fxt {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

InputFile Refused(InputFileStatus status, int error) { return {status, std::strerror(error), {}}; }

// Reads from `fd` to its end into one buffer, sized up front when the size
// is known; false, with errno set, when reading fails.
bool ReadToEnd(int fd, size_t expectedSize, FileBytes& bytes) {
  constexpr size_t kChunk = size_t{1} << 16;
  bytes.reserve(expectedSize + 1);
  bytes.resize(expectedSize + 1);  // one more byte tells whether the file grew
  size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() + kChunk);
    const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  bytes.resize(filled);
  return true;
}

}  // namespace

InputFile ReadInputFile(const char* path) {
  if (access(path, F_OK) != 0) return Refused(InputFileStatus::kMissing, errno);
  // Not blocking: opening a FIFO would otherwise wait for a writer.
  const FileDescriptor file(open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) return Refused(InputFileStatus::kUnreadable, errno);
  struct stat info {};
  if (fstat(file.get(), &info) != 0) return Refused(InputFileStatus::kUnreadable, errno);
  if (S_ISDIR(info.st_mode)) return Refused(InputFileStatus::kUnreadable, EISDIR);
  if (!S_ISREG(info.st_mode)) return {InputFileStatus::kUnreadable, "Not a regular file", {}};
  InputFile input{InputFileStatus::kRead, "", {}};
  if (!ReadToEnd(file.get(), static_cast<size_t>(info.st_size), input.bytes)) {
    return Refused(InputFileStatus::kUnreadable, errno);
  }
  return input;
}

InputFile ReadStandardInput() {
  InputFile input{InputFileStatus::kRead, "", {}};
  // A file behind standard input tells its size, so that it is read into one
  // buffer of large pages as a named file is.
  struct stat info {};
  const bool sized = fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode);
  const size_t expected = sized ? static_cast<size_t>(info.st_size) : 0;
  if (!ReadToEnd(STDIN_FILENO, expected, input.bytes)) {
    return Refused(InputFileStatus::kUnreadable, errno);
  }
  return input;
}

}  // namespace fxt
