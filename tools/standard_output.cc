#include "tools/standard_output.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace fxt {
namespace {

// Standard output goes through one large buffer of its own, written out
// whole when it is full and at the end; a terminal gets each write at once.
constexpr size_t kBufferBytes = size_t{1} << 18;
std::array<char, kBufferBytes> buffer;
// The buffer's free part, which a load may write its messages into.
MessageRoom room{buffer.data(), buffer.data() + kBufferBytes};
size_t Buffered() { return static_cast<size_t>(room.next - buffer.data()); }
enum class Mode : uint8_t { kUndecided, kBuffered, kImmediate };
Mode mode = Mode::kUndecided;

int firstWriteError = 0;

void Check(bool written) {
  if (!written && firstWriteError == 0) firstWriteError = errno != 0 ? errno : EIO;
}

void DecideMode() {
  if (mode == Mode::kUndecided) {
    mode = isatty(STDOUT_FILENO) != 0 ? Mode::kImmediate : Mode::kBuffered;
  }
}

// Once a write has failed, the rest of the output is lost too: it is
// dropped rather than tried again.
void WriteAll(const char* bytes, size_t size) {
  while (size > 0 && firstWriteError == 0) {
    const ssize_t written = write(STDOUT_FILENO, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    Check(written > 0);
    if (written <= 0) return;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
}

void FlushBuffer() {
  WriteAll(buffer.data(), Buffered());
  room.next = buffer.data();
}

}  // namespace

void BufferOutput() { DecideMode(); }

MessageRoom* BufferedOutputRoom() {
  DecideMode();
  return mode == Mode::kBuffered ? &room : nullptr;
}

// printf's own interface, checked by the format attribute of its declaration.
void PrintOut(const char* format, ...) {  // NOLINT(cert-dcl50-cpp)
  std::array<char, 512> text;
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): va_start stands just above
  const int length = std::vsnprintf(text.data(), text.size(), format, arguments);
  va_end(arguments);
  if (length < 0) {
    Check(false);
  } else if (static_cast<size_t>(length) < text.size()) {
    WriteOut({text.data(), static_cast<size_t>(length)});
  } else {
    std::string longer(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(longer.data(), longer.size(), format,
                   again);  // NOLINT(clang-analyzer-valist.Uninitialized)
    WriteOut({longer.data(), static_cast<size_t>(length)});
  }
  va_end(again);
}

void WriteOut(std::string_view bytes) {
  DecideMode();
  if (bytes.size() > kBufferBytes - Buffered()) {
    FlushBuffer();
    if (bytes.size() >= kBufferBytes) {
      WriteAll(bytes.data(), bytes.size());
      return;
    }
  }
  std::memcpy(room.next, bytes.data(), bytes.size());
  room.next += bytes.size();
  if (mode == Mode::kImmediate) FlushBuffer();
}

void WriteOutOnNewLine(std::string_view text) {
  if (mode != Mode::kBuffered || text.size() >= kBufferBytes - Buffered()) {
    WriteOut("\n");
    WriteOut(text);
    return;
  }
  *room.next = '\n';
  std::memcpy(room.next + 1, text.data(), text.size());
  room.next += 1 + text.size();
}

void FlushOut() {
  FlushBuffer();
  Check(std::fflush(stdout) == 0);
}

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
