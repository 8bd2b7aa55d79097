// Finds the text of a line of the file by its number, for the diagnostics
// that stand on a line other than the one being read (a home value checked
// at the end of its block, the checks placed on the fixture line). It walks
// from the line it found last, so that a load's worth of lookups stays
// linear in the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "reader/report.h"

namespace fxt {

class LineFinder {
 public:
  // `bytes` are the bytes the load reads; they must outlive the finder.
  explicit LineFinder(std::span<const uint8_t> bytes);

  // The bytes from `at` to the end of its line, without the line end; the
  // input ends at the first 0xFF byte, as the reader's does.
  std::string_view TextAt(SourcePosition at);

 private:
  std::string_view text_;
  size_t lineStart_ = 0;  // where line `line_` begins
  int32_t line_ = 1;

  void MoveTo(int32_t line);
};

}  // namespace fxt
