// Getting a template into memory: the file checks that every program shares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxt {

enum class InputFileStatus {
  kRead,
  kMissing,     // the path does not exist, or cannot be looked at
  kUnreadable,  // it cannot be opened, is no regular file, or reading failed
};

struct InputFile {
  InputFileStatus status;
  std::string reason;          // why it was not read, in the system's words
  std::vector<uint8_t> bytes;  // the whole file
};

// Reads a regular file of any size whole. A directory, a FIFO, a device or
// a socket is refused without waiting on it.
InputFile ReadInputFile(const char* path);
// Reads standard input to its end, whatever it is.
InputFile ReadStandardInput();

}  // namespace fxt
