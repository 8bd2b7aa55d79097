// The parameter block: a "parameter" line and the lines that describe the
// control, up to the next block keyword. Stop lines: grammar/stop.h.
#pragma once

#include "fsm/state_machine.h"
#include "grammar/stop.h"
#include "reader/keywords.h"

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

inline constexpr Transition kParameterBodyTable[] = {
    {TOKEN_FIXTURE, 0, To(StateParameterThenFixture)},
    {TOKEN_PARAMETER, 0, To(StateParameterThenParameter)},
    {TOKEN_ATTRIBUTE, 0, To(StateParameterThenAttribute)},
    {TOKEN_NAME, 0, To(StateParameterName)},
    {TOKEN_TYPE, 0, To(StateParameterType)},
    {TOKEN_ATTRIB_LIST, 0, To(StateParameterAttribList)},
    {TOKEN_DISPLAYER_NUM, 0, To(StateParameterDisplayerNum)},
    {TOKEN_STOP, 0, To(StateParameterStop)},
    {TOKEN_END, 0, To(StateParameterThenEnd)},
    {TRANSITION_ANY, 0, To(StateParameterUnknownKeyword)},
    kTableEnd,
};

}  // namespace fxt
