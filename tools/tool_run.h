// What the tools that take options and paths share around their own work:
// how a usage error is said, how a count is read, and how a run ends.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fxt {

inline constexpr int EXIT_USAGE = 3;
inline constexpr int EXIT_OUT_OF_MEMORY = 2;

// Says on standard error what is wrong with the command line, and how to
// ask for help; returns EXIT_USAGE.
int UsageError(const char* program, const std::string& problem);

// The usage error for what getopt_long returned for an option it could not
// take: ':' for one without its value, anything else for one it does not
// know. `argv` is the command line it read.
int OptionError(const char* program, int option, char** argv);

// The paths that follow the options, into `paths`: -1 to go on, or the
// usage error when there are none.
int TakePaths(const char* program, int argc, char** argv, std::vector<std::string>& paths);

// A whole decimal number, 0 or more: digits and nothing else, no sign, no blank.
bool ReadCount(std::string_view text, size_t& count);

// Runs the tool's work and ends as every tool ends: memory that ran out is
// said on standard error with status 2, and lost output fails the run.
int RunTool(const char* program, const std::function<int()>& work);

}  // namespace fxt
