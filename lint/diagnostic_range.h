// Where on its line a diagnostic's mistake stands: the keyword, the value,
// the list item or stop slot, the quote that is not closed, the byte that is
// refused. The tester names lines only; the range is found afterwards in the
// line's text, as the reader and the grammar read it, so that their checks
// stay as they are.
#pragma once

#include <cstddef>
#include <string_view>

#include "lint/template_tracker.h"
#include "reader/catalogue.h"
#include "reader/report.h"

namespace fxt {

struct RangeContext {
  // Diagnostics with the same code reported on the same line before this
  // one: the tester reports each illegal character of a list, and each
  // number listed twice, with one code.
  size_t occurrence = 0;
  // The template as read so far: the attribute list and the attributes
  // that a stop line's slots name. None for the rules' findings.
  const TemplateTracker* tracker = nullptr;
};

// Whether the range of `id` depends on RangeContext::occurrence.
bool RangeCountsOccurrences(DiagnosticId id);

// The range of a diagnostic `id` placed at `at`, the beginning of a line or
// of a piece of an over-long one; `text` holds the file's bytes from `at` to
// the end of its line.
SourceRange RangeOf(DiagnosticId id, SourcePosition at, std::string_view text,
                    const RangeContext& context = {});

}  // namespace fxt
