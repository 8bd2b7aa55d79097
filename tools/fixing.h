// Applying the safe fixes of a template: every fix of the diagnostics that a
// run reports, in passes, until none is left. Each pass applies the fixes
// that do not overlap through ApplyEdits, the one function that applies
// edits, and checks the text again, since a mended line may show the next
// mistake.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lint/check.h"

namespace fxt {

struct FixedText {
  std::string text;
  size_t applied = 0;  // the fixes applied, over every pass
};

// The text with the fixes of the diagnostics that `options` report.
FixedText FixText(std::string_view text, const LintOptions& options);

}  // namespace fxt
