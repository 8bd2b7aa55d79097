// The attribute block: an "attribute" line and the lines that set the
// attribute's properties, up to the next block keyword.
#pragma once

#include "fsm/state_machine.h"
#include "reader/keywords.h"

namespace fxt {

const Transition* StateAttribute(Signal signal);
const Transition* StateAttributeBody(Signal signal);
const Transition* StateAttributeName(Signal signal);
const Transition* StateAttributeType(Signal signal);
const Transition* StateAttributeChannel(Signal signal);
const Transition* StateAttributeFineChannel(Signal signal);
const Transition* StateAttributeHomeValue(Signal signal);
const Transition* StateAttributeMinValue(Signal signal);
const Transition* StateAttributeMaxValue(Signal signal);
const Transition* StateAttributeDeflection(Signal signal);
const Transition* StateAttributeInvert(Signal signal);
const Transition* StateAttributeThenFixture(Signal signal);
const Transition* StateAttributeThenAttribute(Signal signal);
const Transition* StateAttributeThenParameter(Signal signal);
const Transition* StateAttributeThenEnd(Signal signal);
const Transition* StateAttributeUnknownKeyword(Signal signal);

// Closes the attribute block: checks and stores the pending home value.
void FinishAttribute();

inline constexpr Transition kAttributeBodyTable[] = {
    {TOKEN_FIXTURE, 0, To(StateAttributeThenFixture)},
    {TOKEN_ATTRIBUTE, 0, To(StateAttributeThenAttribute)},
    {TOKEN_PARAMETER, 0, To(StateAttributeThenParameter)},
    {TOKEN_NAME, 0, To(StateAttributeName)},
    {TOKEN_CHANNEL, 0, To(StateAttributeChannel)},
    {TOKEN_FINE_CHANNEL, 0, To(StateAttributeFineChannel)},
    {TOKEN_HOME_VALUE, 0, To(StateAttributeHomeValue)},
    {TOKEN_MIN_VALUE, 0, To(StateAttributeMinValue)},
    {TOKEN_MAX_VALUE, 0, To(StateAttributeMaxValue)},
    {TOKEN_TYPE, 0, To(StateAttributeType)},
    {TOKEN_DEFLECTION, 0, To(StateAttributeDeflection)},
    {TOKEN_INVERT, 0, To(StateAttributeInvert)},
    {TOKEN_END, 0, To(StateAttributeThenEnd)},
    {TRANSITION_ANY, 0, To(StateAttributeUnknownKeyword)},
    kTableEnd,
};

}  // namespace fxt
