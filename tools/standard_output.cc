#include "tools/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace fxt {
namespace {

int firstWriteError = 0;

void Check(bool written) {
  if (!written && firstWriteError == 0) firstWriteError = errno != 0 ? errno : EIO;
}

}  // namespace

void BufferOutput() {
  constexpr size_t kBufferBytes = size_t{1} << 16;
  if (isatty(STDOUT_FILENO) == 0) Check(std::setvbuf(stdout, nullptr, _IOFBF, kBufferBytes) == 0);
}

// printf's own interface, checked by the format attribute of its declaration.
void PrintOut(const char* format, ...) {  // NOLINT(cert-dcl50-cpp)
  va_list arguments;
  va_start(arguments, format);
  Check(std::vprintf(format, arguments) >= 0);  // NOLINT(clang-analyzer-valist.Uninitialized)
  va_end(arguments);
}

void WriteOut(std::string_view bytes) {
  Check(std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size());
}

void FlushOut() { Check(std::fflush(stdout) == 0); }

int CloseStandardOutput(const char* program, int status) {
  FlushOut();
  Check(!std::ferror(stdout));
  Check(std::fclose(stdout) == 0);
  if (firstWriteError == 0) return status;
  std::fprintf(stderr, "%s: error writing standard output: %s\n", program,
               std::strerror(firstWriteError));
  return EXIT_OUTPUT_LOST;
}

}  // namespace fxt
