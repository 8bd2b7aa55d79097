// The attribute block: an "attribute" line and the lines that set the
// attribute's properties, up to the next block keyword.
#pragma once

#include "fsm/state_machine.h"

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

}  // namespace fxt
