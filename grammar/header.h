// The outer frame of every template: the states before and between
// templates, the fixture header, the final validation and the states that end
// a load early.
#pragma once

#include "fsm/state_machine.h"

namespace fxt {

const Transition* StateStart(Signal signal);
const Transition* StateStartUnknownKeyword(Signal signal);
const Transition* StateFixture(Signal signal);
const Transition* StateFixtureBody(Signal signal);
const Transition* StateFixtureName(Signal signal);
const Transition* StateFixtureVersion(Signal signal);
const Transition* StateFixtureManufacturer(Signal signal);
const Transition* StateFixtureProduct(Signal signal);
const Transition* StateFixtureNumDmx(Signal signal);
const Transition* StateFixtureUnknownKeyword(Signal signal);
const Transition* StateTemplateEnd(Signal signal);
const Transition* StateOutOfMemory(Signal signal);
// A template may hold at most 255 attributes and 255 parameters; one more
// ends the load.
const Transition* StateTooManyAttributes(Signal signal);
const Transition* StateTooManyParameters(Signal signal);

}  // namespace fxt
