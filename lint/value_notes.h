// Notes on the tester's own diagnostics, where its text alone does not help:
// the value read and what is allowed, or where the line stands that it
// clashes with.
#pragma once

#include <vector>

#include "lint/lint_diagnostic.h"
#include "lint/template_tracker.h"

namespace fxt {

// The notes for a diagnostic reported while `line` was read; `tracker`
// knows the lines before it.
std::vector<Note> ValueNotes(DiagnosticId id, const LineEvent& line,
                             const TemplateTracker& tracker);

}  // namespace fxt
