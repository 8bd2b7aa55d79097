#include "tools/tool_run.h"

#include <getopt.h>

#include <charconv>
#include <cstdio>
#include <new>
#include <system_error>

#include "tools/standard_output.h"

namespace fxt {

int UsageError(const char* program, const std::string& problem) {
  std::fprintf(stderr, "%s: %s; try '%s --help'\n", program, problem.c_str(), program);
  return EXIT_USAGE;
}

int OptionError(const char* program, int option, char** argv) {
  const std::string given = argv[optind - 1];
  return UsageError(program, option == ':' ? given + " needs a value" : "unknown option " + given);
}

int TakePaths(const char* program, int argc, char** argv, std::vector<std::string>& paths) {
  for (int i = optind; i < argc; ++i) paths.emplace_back(argv[i]);
  return paths.empty() ? UsageError(program, "no path given") : -1;
}

bool ReadCount(std::string_view text, size_t& count) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  return error == std::errc() && end == text.data() + text.size();
}

int RunTool(const char* program, const std::function<int()>& work) {
  int status = EXIT_OUT_OF_MEMORY;
  try {
    status = work();
  } catch (const std::bad_alloc&) {
    FlushOut();
    std::fprintf(stderr, "%s: out of memory\n", program);
    status = EXIT_OUT_OF_MEMORY;
  }
  return CloseStandardOutput(program, status);
}

}  // namespace fxt
