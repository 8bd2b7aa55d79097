// The numbers of a template that name a DMX channel or stand for a value, as
// they are written, and the attributes they lead to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/features.h"
#include "lsp/line_words.h"

namespace fxt::lsp {

// A number as written on a line (from 1), and its decimal value.
struct WrittenNumber {
  int32_t line = 0;
  Span span;
  int32_t value = 0;
};

// The span without the blanks around it.
Span Trimmed(std::string_view line, Span span);

// The lines of a block that begin with the keyword, each with its line
// number (from 1), as template bytes.
struct KeywordLine {
  int32_t line;
  std::string text;
};
std::vector<KeywordLine> LinesWithKeyword(const Snapshot& snapshot, const Block& block,
                                          TokenId keyword);

// The values of the `channel=` lines of an attribute block.
std::vector<WrittenNumber> ChannelValues(const Snapshot& snapshot, const Block& block);
// The entries of a parameter block's `attriblist=` lines; an empty entry is
// passed over.
std::vector<WrittenNumber> ListedChannels(const Snapshot& snapshot, const Block& block);

// The block of an attribute.
const Block* BlockOf(const Snapshot& snapshot, const Attribute* attribute);

// A channel number under a position: the value of an attribute's `channel=`
// line or an entry of an attribute list, with the attribute it names (null
// when none does).
struct ChannelUnder {
  WrittenNumber number;
  const Attribute* attribute = nullptr;
};
std::optional<ChannelUnder> ChannelNumberAt(const Snapshot& snapshot, SourcePosition at);

// The attribute that a position names: by a channel number under it, or as
// the attribute block that holds it; null when it names none.
const Attribute* AttributeUnder(const Snapshot& snapshot, SourcePosition at);
// The entries of every parameter's attribute lists that name the attribute.
std::vector<WrittenNumber> EntriesNaming(const Snapshot& snapshot, const Attribute& attribute);

// The client's range of a span of a line (from 1).
json SpanRange(const Snapshot& snapshot, int32_t line, Span span);

}  // namespace fxt::lsp
