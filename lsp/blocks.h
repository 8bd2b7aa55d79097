// Which block of the template a line belongs to, by the lines that the
// model's records were declared on.
#pragma once

#include <cstdint>
#include <vector>

#include "lsp/analysis.h"

namespace fxt::lsp {

struct Block {
  enum class Kind { kNone, kHeader, kAttribute, kParameter };
  Kind kind = Kind::kNone;
  int32_t firstLine = 0;  // its keyword's line
  int32_t lastLine = 0;
  int number = 0;  // attribute or parameter number, from 1
  const Attribute* attribute = nullptr;
  const Parameter* parameter = nullptr;
};

// The blocks of the template that the load kept, in line order: its header,
// then each attribute and parameter block.
std::vector<Block> BlocksOf(const Analysis& analysis, int32_t lineCount);
// The block that holds `line`, or one of kind kNone.
Block BlockAt(const std::vector<Block>& blocks, int32_t line);
// The stop declared on `line` of a parameter, or null.
const Stop* StopOn(const Parameter& parameter, int32_t line);

// The first attribute that drives DMX channel `channel`, or null.
const Attribute* AttributeOnChannel(const FixtureTemplate& fixture, int channel);
// The attribute of the value-th slot value (from 0) of a stop line: the
// stop's entry, or, when the line stored none, that of the parameter's list.
const Attribute* AttributeOfSlot(const FixtureTemplate& fixture, const Parameter& parameter,
                                 const Stop* stop, size_t value);

}  // namespace fxt::lsp
