#include "reader/input_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace fxt {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Reads to the end of the file; false when reading fails (as it does for a
// directory).
bool ReadWhole(std::FILE* file, std::vector<uint8_t>& bytes) {
  struct stat info {};
  if (fstat(fileno(file), &info) == 0 && info.st_size > 0) {
    bytes.reserve(static_cast<size_t>(info.st_size));
  }
  uint8_t chunk[1 << 16];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return !std::ferror(file);
}

}  // namespace

InputFile ReadInputFile(const char* path) {
  if (access(path, F_OK) != 0) return {InputFileStatus::kMissing, {}};
  FileHandle file(std::fopen(path, "rb"));
  if (file == nullptr) return {InputFileStatus::kUnreadable, {}};
  InputFile input{InputFileStatus::kRead, {}};
  if (!ReadWhole(file.get(), input.bytes)) return {InputFileStatus::kUnreadable, {}};
  return input;
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

}  // namespace fxt
