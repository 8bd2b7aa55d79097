// Getting a template into memory: the file checks that every program shares.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace fxt {

enum class InputFileStatus {
  kRead,
  kMissing,     // the path does not exist
  kUnreadable,  // it cannot be opened, is a directory, or reading failed
};

struct InputFile {
  InputFileStatus status;
  std::vector<uint8_t> bytes;  // the whole file
};

// Reads a file of any size whole.
InputFile ReadInputFile(const char* path);

// Reads the template named by a program's first argument; later arguments
// are ignored. Without an argument, or when the file cannot be read, prints
// the program's refusal to `stream` and gives nothing.
std::optional<InputFile> ReadTemplateArgument(int argc, char** argv, std::FILE* stream,
                                              const char* program);

}  // namespace fxt
