// The template reader's main routine.
#pragma once

#include <cstdint>

#include "reader/report.h"

namespace fxt {

// A line that begins with no keyword ends the load once more errors than
// this have been counted.
inline constexpr int ERROR_LIMIT = 20;

// Reads the template behind inputCursor into the fixture slot `slotIndex`.
// Diagnostics go to `reportTarget`, or nowhere when it is null. Returns 0 for
// a clean template, -1 for warnings without errors, else the error count.
int LoadTemplate(ReportTarget* reportTarget, int slotIndex);

}  // namespace fxt
