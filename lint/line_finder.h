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

#include "edit/text_edit.h"
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
  LineCursor cursor_;
};

}  // namespace fxt
