// The base protocol's framing: each message is a header of
// "Content-Length: N" (and other headers, passed over) ended by an empty
// line, then N bytes of JSON.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace fxt::lsp {

// No message of an editor comes near this; a larger length is refused.
inline constexpr size_t MOST_CONTENT_LENGTH = size_t{64} << 20;

struct ReadResult {
  // kOutOfMemory: a body too large for the memory at hand, passed over.
  enum class Kind { kMessage, kEnd, kError, kOutOfMemory };
  Kind kind;
  std::string problem;  // for kError: what was wrong with the input
};

class MessageReader {
 public:
  explicit MessageReader(std::FILE* input) : input_(input) {}
  // The next message's body; kEnd when the input ends between messages.
  ReadResult Read(std::string& body);
  // Whether input waits to be read (or its end), without waiting for any.
  // Bytes that the stream buffered are not seen: the stream is to be
  // unbuffered.
  bool InputWaiting() const;

 private:
  std::FILE* input_;
  bool ReadHeaderLine(std::string& line, bool& ended);
  ReadResult ReadBody(size_t length, std::string& body);
};

// A message body with its header, ready to be written.
std::string Framed(std::string_view body);

}  // namespace fxt::lsp
