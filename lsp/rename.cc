// Renaming: a channel number moves its attribute to another channel, and
// every attribute list follows it; a name changes its `name=` line. What
// the tester would refuse, or would read otherwise, is refused with a reason.
#include <string>

#include "lsp/features.h"
#include "lsp/line_index.h"
#include "lsp/record_words.h"
#include "lsp/written_numbers.h"
#include "reader/parse_context.h"

namespace fxt::lsp {
namespace {

constexpr int HIGHEST_CHANNEL = DMX_CHANNEL_COUNT;
// A physical line of more characters is read as two lines.
constexpr int32_t LONGEST_LINE = LINE_CAPACITY - 1;

// The text between the quotes of a `name=` line.
struct QuotedName {
  int32_t line = 0;
  Span span;
  Block::Kind block = Block::Kind::kNone;
  const Attribute* attribute = nullptr;
};

std::optional<QuotedName> NameAt(const Snapshot& snapshot, SourcePosition at) {
  const Block block = BlockAt(snapshot.blocks, at.line);
  if (block.kind == Block::Kind::kNone) return std::nullopt;
  const std::string line = TemplateLine(snapshot.lines.Line(at.line - 1));
  const WrittenKeyword keyword = KeywordOf(line);
  if (keyword.keyword == nullptr || keyword.keyword->id != TOKEN_NAME) return std::nullopt;
  const Span value = ValueOf(line);
  const size_t open = line.find('"', static_cast<size_t>(value.begin));
  if (open == std::string::npos || open >= static_cast<size_t>(value.end)) return std::nullopt;
  const size_t close = line.find('"', open + 1);
  if (close == std::string::npos) return std::nullopt;
  const Span quoted{static_cast<int32_t>(open) + 1, static_cast<int32_t>(close)};
  if (at.column - 1 < quoted.begin - 1 || at.column - 1 > quoted.end) return std::nullopt;
  return QuotedName{at.line, quoted, block.kind, block.attribute};
}

json Edit(json range, const std::string& text) {
  return {{"range", std::move(range)}, {"newText", text}};
}

json WorkspaceEdit(const Snapshot& snapshot, json edits) {
  return {{"changes", {{snapshot.uri, std::move(edits)}}}};
}

std::string Written(const Snapshot& snapshot, int32_t line, Span span) {
  const std::string text = TemplateLine(snapshot.lines.Line(line - 1));
  return text.substr(static_cast<size_t>(span.begin), static_cast<size_t>(span.end - span.begin));
}

// The channel a new name asks for: digits only, 1 to 64, free.
int NewChannel(const FixtureTemplate& fixture, const Attribute& moved, const std::string& text) {
  if (text.empty() || text.size() > 3 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    throw RequestFailed("a channel is a number from 1 to " + std::to_string(HIGHEST_CHANNEL));
  }
  const int channel = std::stoi(text);
  if (channel < 1 || channel > HIGHEST_CHANNEL) {
    throw RequestFailed("channel " + text + " is out of range: a channel is a number from 1 to " +
                        std::to_string(HIGHEST_CHANNEL));
  }
  const Attribute* attribute = &fixture.firstAttribute;
  for (int n = 1; n <= fixture.attributeCount; ++n, attribute = attribute->next.get()) {
    const bool coarse = attribute != &moved && DmxChannelOf(*attribute) == channel;
    const bool fine = !attribute->HasNoFineChannel() && attribute->fineChannel + 1 == channel;
    if (coarse || fine) {
      throw RequestFailed("channel " + text + " is taken: " + NameOf(*attribute) + " uses it" +
                          (fine ? " as its fine channel" : ""));
    }
  }
  return channel;
}

json RenameChannel(const Snapshot& snapshot, const ChannelUnder& under, const std::string& text) {
  if (under.attribute == nullptr) throw RequestFailed("no attribute uses this channel");
  const Attribute& attribute = *under.attribute;
  const Block* own = BlockOf(snapshot, &attribute);
  const int old = DmxChannelOf(attribute);
  std::vector<WrittenNumber> moved;
  if (own != nullptr) {
    for (const WrittenNumber& number : ChannelValues(snapshot, *own)) {
      if (number.value == old) moved.push_back(number);
    }
  }
  if (moved.empty()) throw RequestFailed(NameOf(attribute) + " has no channel= line to change");
  const std::string channel =
      std::to_string(NewChannel(*snapshot.analysis.fixture, attribute, text));
  for (const WrittenNumber& entry : EntriesNaming(snapshot, attribute)) moved.push_back(entry);
  json edits = json::array();
  for (const WrittenNumber& number : moved) {
    edits.push_back(Edit(SpanRange(snapshot, number.line, number.span), channel));
  }
  return WorkspaceEdit(snapshot, std::move(edits));
}

// The name as template characters, when every character has a byte that a
// name between quotes may hold.
std::string NameBytes(const std::string& utf8) {
  std::string bytes;
  std::string_view rest = utf8;
  while (!rest.empty()) {
    const Character character = ReadCharacter(rest);
    rest.remove_prefix(character.bytes);
    const uint32_t c = character.codePoint;
    if (c == '"' || c == '/') {
      throw RequestFailed(std::string("a name cannot hold ") + (c == '"' ? "a quote" : "'/'") +
                          ": the line would end there");
    }
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c >= 0xFF) {
      throw RequestFailed("a name holds letters from U+0020 to U+00FE, without controls");
    }
    bytes += static_cast<char>(c);
  }
  return bytes;
}

bool ChangesKind(const std::string& name) { return name == "INTENSITY" || name == "PAN"; }

json RenameName(const Snapshot& snapshot, const QuotedName& name, const std::string& utf8) {
  const std::string bytes = NameBytes(utf8);
  if (bytes.empty()) throw RequestFailed("a name cannot be empty");
  const int32_t length = snapshot.lines.LengthOf(name.line - 1) -
                         (name.span.end - name.span.begin) + static_cast<int32_t>(bytes.size());
  if (length > LONGEST_LINE) {
    throw RequestFailed("the line would be " + std::to_string(length) +
                        " characters long; a line holds at most " + std::to_string(LONGEST_LINE));
  }
  if (name.block == Block::Kind::kHeader && bytes.size() > MODEL_NAME_LENGTH) {
    throw RequestFailed("a fixture's name keeps its first " + std::to_string(MODEL_NAME_LENGTH) +
                        " characters; this one has " + std::to_string(bytes.size()));
  }
  if (name.block == Block::Kind::kAttribute &&
      (ChangesKind(bytes) || ChangesKind(Written(snapshot, name.line, name.span)))) {
    throw RequestFailed(
        "the names INTENSITY and PAN make an attribute's kind: change that name= line by hand");
  }
  return WorkspaceEdit(snapshot,
                       json::array({Edit(SpanRange(snapshot, name.line, name.span), utf8)}));
}

}  // namespace

json PrepareRename(const Snapshot& snapshot, SourcePosition at) {
  if (const std::optional<ChannelUnder> channel = ChannelNumberAt(snapshot, at)) {
    if (channel->attribute == nullptr) return nullptr;
    return {{"range", SpanRange(snapshot, channel->number.line, channel->number.span)},
            {"placeholder", std::to_string(channel->number.value)}};
  }
  if (const std::optional<QuotedName> name = NameAt(snapshot, at)) {
    return {{"range", SpanRange(snapshot, name->line, name->span)},
            {"placeholder", Latin1ToUtf8(Written(snapshot, name->line, name->span))}};
  }
  return nullptr;
}

json Rename(const Snapshot& snapshot, SourcePosition at, const std::string& newName) {
  if (const std::optional<ChannelUnder> channel = ChannelNumberAt(snapshot, at)) {
    return RenameChannel(snapshot, *channel, newName);
  }
  if (const std::optional<QuotedName> name = NameAt(snapshot, at)) {
    return RenameName(snapshot, *name, newName);
  }
  throw RequestFailed("only a channel number or a name between quotes can be renamed");
}

}  // namespace fxt::lsp
