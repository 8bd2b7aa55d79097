// The changes of the formatter, or of fxtlint's fixes, as a unified diff,
// which patch and git apply read.
#pragma once

#include <string>
#include <string_view>

namespace fxt {

// The unified diff from `before` to `after`, both named `name`, with three
// lines of context; empty when they are the same. Lines are paired in order
// (the formatter and the fixes change lines in place, and drop or add lines
// only at the end), so every hunk replaces lines with as many new ones,
// except at the end.
std::string UnifiedDiff(std::string_view name, std::string_view before, std::string_view after);

}  // namespace fxt
