// The template reader's main routine: it reads the input line by line and
// drives the parser's state machine with each line's keyword.
#pragma once

#include "fsm/state_machine.h"
#include "load/load_observer.h"
#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {

// A line that begins with no keyword ends the load once more errors than
// this have been counted; a tolerant load reads on.
inline constexpr int ERROR_LIMIT = 20;

// The parser's state machine; it rests in StateStart between loads.
extern StateMachine machine;
// Told of every line of a load, when set.
extern LoadObserver* loadObserver;

// Reads the template behind inputCursor into the fixture slot `slotIndex`.
// Diagnostics go to `reportTarget`, or nowhere when it is null. Returns 0 for
// a clean template, -1 for warnings without errors, else the error count.
int LoadTemplate(ReportTarget* reportTarget, int slotIndex, LoadMode mode = LoadMode::kTester);

// Puts every piece of process-wide state back as it is at program start:
// the context, the machine and the fixture slots.
void ResetProcessState();

}  // namespace fxt
