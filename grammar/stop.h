// The stop line of a parameter block: a label for the displayer, one value
// range per attribute of the parameter's list, a stop mode and the attribute
// that the mouse moves.
#pragma once

#include "fsm/state_machine.h"

namespace fxt {

const Transition* StateParameterStop(Signal signal);

}  // namespace fxt
