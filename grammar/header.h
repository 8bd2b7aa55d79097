// The outer frame of every template: the states before and between
// templates, the fixture header, the final validation and the states that end
// a load early.
#pragma once

#include "fsm/state_machine.h"
#include "grammar/attribute.h"
#include "grammar/parameter.h"
#include "reader/keywords.h"

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

inline constexpr Transition kStartTable[] = {
    {TOKEN_FIXTURE, 0, To(StateFixture)},
    {TRANSITION_ANY, 0, To(StateStartUnknownKeyword)},
    kTableEnd,
};

inline constexpr Transition kFixtureBodyTable[] = {
    {TOKEN_NAME, 0, To(StateFixtureName)},
    {TOKEN_VERSION, 0, To(StateFixtureVersion)},
    {TOKEN_MANUFACTURER, 0, To(StateFixtureManufacturer)},
    {TOKEN_PRODUCT, 0, To(StateFixtureProduct)},
    {TOKEN_NUM_DMX, 0, To(StateFixtureNumDmx)},
    {TOKEN_ATTRIBUTE, 0, To(StateAttribute)},
    {TOKEN_PARAMETER, 0, To(StateParameter)},
    {TRANSITION_ANY, 0, To(StateFixtureUnknownKeyword)},
    kTableEnd,
};

}  // namespace fxt
