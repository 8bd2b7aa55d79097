#include <optional>
#include <string>
#include <string_view>

#include "grammar/letter_docs.h"
#include "lsp/features.h"
#include "lsp/keyword_docs.h"
#include "lsp/line_words.h"
#include "lsp/record_words.h"

namespace fxt::lsp {
namespace {

// The value of the block's last line with the keyword, as written.
std::string WrittenIn(const Snapshot& snapshot, const Block& block, TokenId keyword) {
  std::string written;
  for (int32_t line = block.firstLine; line <= block.lastLine; ++line) {
    const std::string text = TemplateLine(snapshot.lines.Line(line - 1));
    const WrittenKeyword found = KeywordOf(text);
    if (found.keyword == nullptr || found.keyword->id != keyword) continue;
    const Span value = ValueOf(text);
    written =
        text.substr(static_cast<size_t>(value.begin), static_cast<size_t>(value.end - value.begin));
  }
  return written;
}

std::string AttributeHover(const Snapshot& snapshot, const Block& block) {
  const Attribute& attribute = *block.attribute;
  std::string text = "**" + NameOf(attribute) + "**, attribute " + std::to_string(block.number);
  text += "\n\nDMX channel " + std::to_string(DmxChannelOf(attribute));
  if (attribute.HasNoFineChannel()) {
    text += ", no fine channel: an 8-bit attribute";
  } else {
    text += ", fine channel " + std::to_string(attribute.fineChannel + 1) + ": a 16-bit attribute";
  }
  const std::string home = WrittenIn(snapshot, block, TOKEN_HOME_VALUE);
  text += "\n\nhome value " + (home.empty() ? std::string("not given") : home + " as written") +
          ", " + std::to_string(attribute.homeValue) + " as stored on the 16-bit scale";
  text += "\n\n" + AttributeKindWords(attribute.kind);
  if (attribute.kind == KIND_INTENSITY || attribute.kind == KIND_INTENSITY_LISTED) {
    text += ", limits " + std::to_string(attribute.minValue) + " to " +
            std::to_string(attribute.maxValue);
  }
  return text;
}

std::string AttributeWords(const FixtureTemplate& fixture, int number) {
  const Attribute& attribute = *fixture.AttributeAt(number);
  return NameOf(attribute) + " (DMX channel " + std::to_string(DmxChannelOf(attribute)) + ")";
}

std::string ParameterHover(const Snapshot& snapshot, const Block& block) {
  const Parameter& parameter = *block.parameter;
  const FixtureTemplate& fixture = *snapshot.analysis.fixture;
  std::string text = "**" + NameOf(parameter) + "**, parameter " + std::to_string(block.number) +
                     ": displayer " + std::to_string(parameter.displayer) + ", " +
                     ParameterKindWords(parameter.kind);
  text += "\n\nattributes: ";
  if (parameter.attribCount == 0) text += "none";
  for (size_t i = 0; i < parameter.attribCount; ++i) {
    text += (i == 0 ? "" : ", ") + AttributeWords(fixture, parameter.attribList[i]);
  }
  return text;
}

// An 8-bit attribute's values are stored shifted left by 8.
std::string ValueWords(const Attribute& attribute, uint16_t value) {
  return std::to_string(attribute.HasNoFineChannel() ? value >> 8 : value);
}

std::string StopHover(const Snapshot& snapshot, const Parameter& parameter, const Stop& stop) {
  const FixtureTemplate& fixture = *snapshot.analysis.fixture;
  std::string text = "**stop \"" + NameOf(stop) + "\"** of " + NameOf(parameter);
  for (size_t i = 0; i < stop.entryCount; ++i) {
    const StopEntry& entry = stop.entries[i];
    const Attribute& attribute = *fixture.AttributeAt(entry.attribute);
    text += "\n- " + NameOf(attribute) + ": " + ValueWords(attribute, entry.low) + " to " +
            ValueWords(attribute, entry.high) + (entry.flagR ? " (r)" : "");
    if (i == stop.selectedEntry) text += ", under the mouse";
  }
  text += "\n\nmode " + ModeWords(stop.mode);
  if (stop.mode == STOP_MODE_DISPLAY) {
    text += ", shown from " + std::to_string(stop.displayFrom) + " to " +
            std::to_string(stop.displayTo);
  }
  return text;
}

struct LetterUnder {
  LetterRole role;
  char letter;  // as the reader leaves it, lower case
};

char Lowered(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The letter at `index` that the grammar reads as a kind, a stop mode or a
// mark in a stop's values, if there is one.
std::optional<LetterUnder> LetterAt(std::string_view line, TokenId keyword, Block::Kind block,
                                    int32_t index) {
  const Span value = ValueOf(line);
  if (keyword == TOKEN_TYPE && value.Holds(index)) {
    const char first = Lowered(line[static_cast<size_t>(value.begin)]);
    if (block == Block::Kind::kAttribute) return LetterUnder{LetterRole::kAttributeKind, first};
    if (block == Block::Kind::kParameter) return LetterUnder{LetterRole::kParameterKind, first};
    return std::nullopt;
  }
  if (keyword != TOKEN_STOP || block != Block::Kind::kParameter) return std::nullopt;
  const StopLineParts parts = StopLinePartsOf(line, value);
  if (parts.mode && parts.mode->Holds(index)) {
    return LetterUnder{LetterRole::kStopMode, Lowered(line[static_cast<size_t>(index)])};
  }
  if (parts.slots && parts.slots->Holds(index)) {
    const char under = Lowered(line[static_cast<size_t>(index)]);
    if (under == 'm' || under == 'r') return LetterUnder{LetterRole::kValueMark, under};
  }
  return std::nullopt;
}

json Markdown(const std::string& text) {
  return {{"contents", {{"kind", "markdown"}, {"value", Latin1ToUtf8(text)}}}};
}

}  // namespace

// What the tester makes of a letter, as the template language's page says
// it, under the letter's role and code.
std::string LetterHoverText(LetterRole role, char letter) {
  const LetterDoc& doc = LetterDocOf(role, letter);
  // A code span with blanks inside holds any character, a backtick too.
  std::string text = "**" + std::string(LetterRoleName(role)) + "** `` " + letter + " ``";
  if (doc.letter == letter && doc.code != NO_CODE) {
    text += " (code " + std::to_string(doc.code) + ")";
  }
  return text + "\n\n" + std::string(doc.text);
}

// On a keyword, what it does; on a kind, mode or mark letter, what the tester
// makes of it; elsewhere on a block's lines, the record that the load stored
// for it.
json Hover(const Snapshot& snapshot, SourcePosition at) {
  const std::string line = TemplateLine(snapshot.lines.Line(at.line - 1));
  const Block block = BlockAt(snapshot.blocks, at.line);
  const WrittenKeyword keyword = KeywordOf(line);
  if (keyword.keyword != nullptr && keyword.span.Holds(at.column - 1)) {
    const std::string_view doc = KeywordDoc(keyword.keyword->id, block.kind);
    if (!doc.empty()) return Markdown(std::string(doc));
  }
  if (keyword.keyword != nullptr) {
    const std::optional<LetterUnder> letter =
        LetterAt(line, keyword.keyword->id, block.kind, at.column - 1);
    if (letter) return Markdown(LetterHoverText(letter->role, letter->letter));
  }
  switch (block.kind) {
    case Block::Kind::kAttribute:
      return Markdown(AttributeHover(snapshot, block));
    case Block::Kind::kParameter:
      if (const Stop* stop = StopOn(*block.parameter, at.line)) {
        return Markdown(StopHover(snapshot, *block.parameter, *stop));
      }
      return Markdown(ParameterHover(snapshot, block));
    default:
      return nullptr;
  }
}

}  // namespace fxt::lsp
