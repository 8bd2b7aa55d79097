#include "reader/input_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "reader/parse_context.h"

namespace fxt {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Reads up to and including the first INPUT_END byte, or to the end of the
// file; false when reading fails (as it does for a directory).
bool ReadUntilInputEnd(std::FILE* file, std::vector<uint8_t>& bytes) {
  struct stat info {};
  if (fstat(fileno(file), &info) == 0 && info.st_size > 0) {
    bytes.reserve(static_cast<size_t>(info.st_size) + 1);
  }
  uint8_t chunk[1 << 16];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    const uint8_t* end = std::find(chunk, chunk + got, INPUT_END);
    bytes.insert(bytes.end(), static_cast<const uint8_t*>(chunk), end);
    if (end != chunk + got) return true;
  }
  return !std::ferror(file);
}

}  // namespace

InputFile ReadInputFile(const char* path) {
  if (access(path, F_OK) != 0) return {InputFileStatus::kMissing, {}};
  FileHandle file(std::fopen(path, "rb"));
  if (file == nullptr) return {InputFileStatus::kUnreadable, {}};
  InputFile input{InputFileStatus::kRead, {}};
  if (!ReadUntilInputEnd(file.get(), input.bytes)) return {InputFileStatus::kUnreadable, {}};
  input.bytes.push_back(INPUT_END);
  return input;
}

std::vector<uint8_t> MakeInputBuffer(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> buffer(bytes.begin(), std::find(bytes.begin(), bytes.end(), INPUT_END));
  buffer.push_back(INPUT_END);
  return buffer;
}

std::optional<InputFile> ReadTemplateArgument(int argc, char** argv, std::FILE* stream,
                                              const char* program) {
  if (argc < 2) {
    std::fprintf(stream, "\n\n\n\n\nNo file specified - Invoke as : %s filename.fxt  \n", program);
    return std::nullopt;
  }
  const char* path = argv[1];
  InputFile input = ReadInputFile(path);
  switch (input.status) {
    case InputFileStatus::kMissing:
      std::fprintf(stream, "\n\n\n\n\n\tError\tFile %s doesn't exist\n", path);
      return std::nullopt;
    case InputFileStatus::kUnreadable:
      std::fprintf(stream, "\n\n\n\n\n\tError\tError opening file %s\n", path);
      return std::nullopt;
    case InputFileStatus::kRead:
      break;
  }
  return input;
}

void SetInput(const std::vector<uint8_t>& buffer) { parseContext.inputCursor = buffer.data(); }

}  // namespace fxt
