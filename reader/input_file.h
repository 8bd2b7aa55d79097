// Getting a template into memory: the file checks that every program shares,
// and the input buffer that the line reader consumes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

namespace fxt {

enum class InputFileStatus {
  kRead,
  kMissing,     // the path does not exist
  kUnreadable,  // it cannot be opened, is a directory, or reading failed
};

struct InputFile {
  InputFileStatus status;
  std::vector<uint8_t> bytes;  // the input buffer, ending with INPUT_END
};

// The file's bytes up to its first 0xFF, followed by INPUT_END. A file of
// any size is read whole.
InputFile ReadInputFile(const char* path);

// The input buffer for bytes already in memory: up to the first 0xFF,
// followed by INPUT_END.
std::vector<uint8_t> MakeInputBuffer(std::span<const uint8_t> bytes);

// Reads the template named by a program's first argument; later arguments
// are ignored. Without an argument, or when the file cannot be read, prints
// the program's refusal to `stream` and gives nothing.
std::optional<InputFile> ReadTemplateArgument(int argc, char** argv, std::FILE* stream,
                                              const char* program);

// Points the line reader at an input buffer, which must outlive the load.
void SetInput(const std::vector<uint8_t>& buffer);

}  // namespace fxt
