// The parameter block: a "parameter" line and the lines that describe the
// control, up to the next block keyword. Stop lines: grammar/stop.h.
#pragma once

#include "fsm/state_machine.h"

namespace fxt {

const Transition* StateParameter(Signal signal);
const Transition* StateParameterBody(Signal signal);
const Transition* StateParameterName(Signal signal);
const Transition* StateParameterType(Signal signal);
const Transition* StateParameterAttribList(Signal signal);
const Transition* StateParameterDisplayerNum(Signal signal);
const Transition* StateParameterThenFixture(Signal signal);
const Transition* StateParameterThenParameter(Signal signal);
const Transition* StateParameterThenAttribute(Signal signal);
const Transition* StateParameterThenEnd(Signal signal);
const Transition* StateParameterUnknownKeyword(Signal signal);

// Closes the parameter block: checks that the parameter is complete.
void FinishParameter();

}  // namespace fxt
