#include "lsp/written_numbers.h"

#include "lsp/record_words.h"
#include "reader/number_scan.h"

namespace fxt::lsp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

WrittenNumber NumberIn(const KeywordLine& line, Span span) {
  const std::string digits(line.text.substr(static_cast<size_t>(span.begin),
                                            static_cast<size_t>(span.end - span.begin)));
  return {line.line, span, DecimalValue(digits.c_str())};
}

}  // namespace

Span Trimmed(std::string_view line, Span span) {
  while (span.begin < span.end && IsBlank(line[static_cast<size_t>(span.begin)])) ++span.begin;
  while (span.end > span.begin && IsBlank(line[static_cast<size_t>(span.end - 1)])) --span.end;
  return span;
}

std::vector<KeywordLine> LinesWithKeyword(const Snapshot& snapshot, const Block& block,
                                          TokenId keyword) {
  std::vector<KeywordLine> found;
  for (int32_t line = block.firstLine; line <= block.lastLine; ++line) {
    std::string text = TemplateLine(snapshot.lines.Line(line - 1));
    const WrittenKeyword written = KeywordOf(text);
    if (written.keyword != nullptr && written.keyword->id == keyword) {
      found.push_back({line, std::move(text)});
    }
  }
  return found;
}

std::vector<WrittenNumber> ChannelValues(const Snapshot& snapshot, const Block& block) {
  std::vector<WrittenNumber> numbers;
  for (const KeywordLine& line : LinesWithKeyword(snapshot, block, TOKEN_CHANNEL)) {
    const Span value = ValueOf(line.text);
    if (value.begin < value.end) numbers.push_back(NumberIn(line, value));
  }
  return numbers;
}

std::vector<WrittenNumber> ListedChannels(const Snapshot& snapshot, const Block& block) {
  std::vector<WrittenNumber> numbers;
  for (const KeywordLine& line : LinesWithKeyword(snapshot, block, TOKEN_ATTRIB_LIST)) {
    for (const Span& item : ItemsOf(line.text, ValueOf(line.text))) {
      const Span entry = Trimmed(line.text, item);
      if (entry.begin < entry.end) numbers.push_back(NumberIn(line, entry));
    }
  }
  return numbers;
}

const Block* BlockOf(const Snapshot& snapshot, const Attribute* attribute) {
  for (const Block& block : snapshot.blocks) {
    if (block.attribute == attribute && attribute != nullptr) return &block;
  }
  return nullptr;
}

std::optional<ChannelUnder> ChannelNumberAt(const Snapshot& snapshot, SourcePosition at) {
  const FixtureTemplate* fixture = snapshot.analysis.fixture.get();
  const Block block = BlockAt(snapshot.blocks, at.line);
  if (fixture == nullptr) return std::nullopt;
  const auto holds = [&](const WrittenNumber& number) {
    return number.line == at.line && at.column - 1 >= number.span.begin &&
           at.column - 1 <= number.span.end;
  };
  if (block.kind == Block::Kind::kAttribute) {
    for (const WrittenNumber& number : ChannelValues(snapshot, block)) {
      if (holds(number)) return ChannelUnder{number, block.attribute};
    }
  } else if (block.kind == Block::Kind::kParameter) {
    for (const WrittenNumber& number : ListedChannels(snapshot, block)) {
      if (holds(number)) return ChannelUnder{number, AttributeOnChannel(*fixture, number.value)};
    }
  }
  return std::nullopt;
}

const Attribute* AttributeUnder(const Snapshot& snapshot, SourcePosition at) {
  const std::optional<ChannelUnder> channel = ChannelNumberAt(snapshot, at);
  if (channel) return channel->attribute;
  return BlockAt(snapshot.blocks, at.line).attribute;
}

std::vector<WrittenNumber> EntriesNaming(const Snapshot& snapshot, const Attribute& attribute) {
  std::vector<WrittenNumber> entries;
  const FixtureTemplate& fixture = *snapshot.analysis.fixture;
  for (const Block& block : snapshot.blocks) {
    if (block.kind != Block::Kind::kParameter) continue;
    for (const WrittenNumber& entry : ListedChannels(snapshot, block)) {
      if (AttributeOnChannel(fixture, entry.value) == &attribute) entries.push_back(entry);
    }
  }
  return entries;
}

json SpanRange(const Snapshot& snapshot, int32_t line, Span span) {
  return snapshot.Range(snapshot.lines.OffsetOf(line - 1, span.begin),
                        snapshot.lines.OffsetOf(line - 1, span.end));
}

}  // namespace fxt::lsp
