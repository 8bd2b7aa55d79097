// The states where the grammar waits for a line's keyword, and their tables
// compiled into one dense table at compile time: a line's keyword finds its
// transition in one look-up.
#pragma once

#include "fsm/dense_dispatch.h"
#include "grammar/attribute.h"
#include "grammar/header.h"
#include "grammar/parameter.h"

namespace fxt {

inline constexpr DenseDispatch<4> kGrammarDispatch({{
    {StateStart, kStartTable},
    {StateFixtureBody, kFixtureBodyTable},
    {StateAttributeBody, kAttributeBodyTable},
    {StateParameterBody, kParameterBodyTable},
}});

}  // namespace fxt
