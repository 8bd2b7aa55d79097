// What the tools that take options and paths share around their own work:
// how a usage error is said, how a count is read, and how a run ends.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace fxt {

inline constexpr int EXIT_USAGE = 3;
inline constexpr int EXIT_OUT_OF_MEMORY = 2;

// Says on standard error what is wrong with the command line, and how to
// ask for help; returns EXIT_USAGE.
int UsageError(const char* program, const std::string& problem);

// A whole decimal number, 0 or more: digits and nothing else, no sign, no blank.
bool ReadCount(std::string_view text, size_t& count);

// Runs the tool's work and ends as every tool ends: memory that ran out is
// said on standard error with status 2, and lost output fails the run.
int RunTool(const char* program, const std::function<int()>& work);

}  // namespace fxt
