#include "lsp/framing.h"

#include <poll.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <new>

namespace fxt::lsp {
namespace {

constexpr size_t LONGEST_HEADER_LINE = 1024;
constexpr std::string_view kContentLength = "content-length:";

ReadResult Problem(std::string problem) { return {ReadResult::Kind::kError, std::move(problem)}; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

// A header line ends with "\r\n"; a lone "\n" is taken too.
bool MessageReader::ReadHeaderLine(std::string& line, bool& ended) {
  line.clear();
  ended = false;
  for (int c; (c = std::fgetc(input_)) != EOF;) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    if (line.size() == LONGEST_HEADER_LINE) return false;
    line += static_cast<char>(c);
  }
  ended = true;
  return true;
}

ReadResult MessageReader::Read(std::string& body) {
  std::string line;
  bool ended = false;
  bool sawHeader = false;
  size_t length = 0;
  bool sawLength = false;
  for (;;) {
    if (!ReadHeaderLine(line, ended)) return Problem("a header line longer than 1024 bytes");
    if (ended) {
      if (!sawHeader && line.empty()) return {ReadResult::Kind::kEnd, ""};
      return Problem("the input ended inside a message header");
    }
    if (line.empty()) {
      if (!sawHeader) continue;  // blank lines between messages
      break;
    }
    sawHeader = true;
    if (!StartsWithIgnoringCase(line, kContentLength)) continue;
    std::string_view value = std::string_view(line).substr(kContentLength.size());
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc() || end != value.data() + value.size()) {
      return Problem("a Content-Length that is no number: " + std::string(value));
    }
    sawLength = true;
  }
  if (!sawLength) return Problem("a message without Content-Length");
  if (length > MOST_CONTENT_LENGTH) {
    return Problem("a Content-Length of " + std::to_string(length) + " bytes, more than allowed");
  }
  return ReadBody(length, body);
}

bool MessageReader::InputWaiting() const {
  const int descriptor = fileno(input_);
  if (descriptor < 0) return false;
  pollfd waiting{descriptor, POLLIN, 0};
  return poll(&waiting, 1, 0) == 1 && (waiting.revents & (POLLIN | POLLHUP)) != 0;
}

ReadResult MessageReader::ReadBody(size_t length, std::string& body) {
  try {
    body.resize(length);
  } catch (const std::bad_alloc&) {
    std::string().swap(body);
    char passed[4096];
    for (size_t left = length; left > 0;) {
      const size_t chunk = std::min(left, sizeof passed);
      if (std::fread(passed, 1, chunk, input_) != chunk) {
        return Problem("the input ended inside a message body");
      }
      left -= chunk;
    }
    return {ReadResult::Kind::kOutOfMemory, ""};
  }
  if (std::fread(body.data(), 1, length, input_) != length) {
    return Problem("the input ended inside a message body");
  }
  return {ReadResult::Kind::kMessage, ""};
}

std::string Framed(std::string_view body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

}  // namespace fxt::lsp
