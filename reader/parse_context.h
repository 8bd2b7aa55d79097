// The process-wide state of one load: the reader's position and current line,
// the counts of what was reported, and what the grammar remembers between
// lines.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/fixture_template.h"
#include "reader/line_in_place.h"
#include "reader/line_normaliser.h"
#include "reader/report.h"

namespace fxt {

inline constexpr uint8_t INPUT_END = 0xFF;
inline constexpr int LINE_CAPACITY = 100;  // 99 characters and the terminator
// The line buffer is larger than a line: the reader writes it, and reads it
// back, in whole chunks of 16 bytes.
inline constexpr size_t LINE_BUFFER_SIZE = NORMALISED_CAPACITY;
inline constexpr int DMX_CHANNEL_COUNT = 64;
inline constexpr uint8_t NO_INTENSITY_ATTRIBUTE = 255;
inline constexpr int32_t HOME_VALUE_NONE = -1;
inline constexpr int32_t LIST_NOT_GIVEN = 255;
// A line of commas after "attriblist=" ends at most this many numbers.
inline constexpr int ATTRIB_LIST_CAPACITY = LINE_CAPACITY;

// What a load does with the values it reads after its first error.
enum class LoadMode : uint8_t {
  kTester,    // checks them but no longer stores them, as the desk's loader does
  kTolerant,  // stores them too, as if the earlier lines had been right, and
              // reads on past the error limit: the tools' second look
};

struct ParseContext {
  // The line reader.
  const uint8_t* inputStart = nullptr;
  const uint8_t* inputCursor = nullptr;
  const uint8_t* inputEnd = nullptr;   // the end of the bytes handed over
  const uint8_t* inputStop = nullptr;  // where reading stops: the first INPUT_END, or inputEnd
  int32_t lineNumber = 0;
  uint8_t templateEnded = 0;
  // Lines are read in place where they can be; with this set, every line
  // is normalised into lineBuffer, for those who look at it.
  uint8_t normaliseEveryLine = 0;
  uint8_t lineReadInPlace = 0;  // the line is in lineInPlace, not in lineBuffer
  uint8_t valueGiven = 0;       // the line has a '='
  char lineBuffer[LINE_BUFFER_SIZE] = {};
  size_t lineLength = 0;  // of the normalised line, before its NUL
  LineInPlace lineInPlace;
  // Where the current logical line begins in the file; and the physical
  // line of the byte at inputCursor, with where that line begins.
  SourcePosition linePosition;
  std::string_view rawLine;  // the current line's bytes as they stand in the input
  int32_t physicalLine = 1;
  const uint8_t* physicalLineStart = nullptr;
  // The line's value after its first '=', as the normalised line holds it:
  // in lineBuffer up to the NUL that ends the line, which is no part of it,
  // or in the input's bytes for a line read in place. Its readers stop at its
  // end and read no byte past it, which may be anything. Empty when there is
  // no '=' or nothing after it.
  std::string_view valueText;
  // Between the value's first two quotes, where the value is; in lineBuffer,
  // it ends in the line's NUL when the first quote is never closed.
  std::string_view quotedText;
  // Where the value's first quote stands in valueText; npos when it has none.
  size_t valueQuote = std::string_view::npos;

  // The load and its diagnostics.
  uint8_t errorCount = 0;
  uint8_t warningFlag = 0;
  uint8_t stopFlag = 0;
  LoadMode mode = LoadMode::kTester;
  ReportTarget* reportTarget = nullptr;
  MessageRoom* messageRoom = nullptr;  // what reportTarget lends, if anything
  uint8_t slotIndex = 0;

  // The fixture header.
  uint8_t nameSeen = 0;
  uint8_t versionSeen = 0;
  uint8_t manufacturerSeen = 0;
  // The fixture line of the current template: the end-of-template checks,
  // which carry no line number, are placed there.
  SourcePosition fixturePosition;
  // The attribute that claimed each DMX channel 0 to 64; 0 while free.
  std::array<uint8_t, DMX_CHANNEL_COUNT + 1> channelOwners{};

  // Attribute blocks.
  int32_t attributeNumber = 0;
  uint8_t intensityAttribute = NO_INTENSITY_ATTRIBUTE;
  uint8_t intensitySeen = 0;
  int32_t pendingHomeValue = HOME_VALUE_NONE;
  SourcePosition pendingHomeValuePosition;  // the homeval= line that gave it
  // The current attribute block has had a channel= line. Its channel field
  // cannot tell: channel 1 is stored as 0, the same as no channel.
  uint8_t channelGiven = 0;

  // Parameter blocks.
  int32_t parameterNumber = 0;
  int32_t attribListCount = LIST_NOT_GIVEN;
  std::array<uint8_t, ATTRIB_LIST_CAPACITY> attribListNumbers{};
  // For attriblist= lines: the number of the first attribute whose channel
  // field has each low byte, 0 for none. Whatever adds an attribute, sets a
  // channel or replaces the template marks it stale.
  std::array<uint8_t, 256> firstWithChannelByte{};
  uint8_t channelIndexStale = 1;
  // For displayernum= lines: how many nodes of the template's parameter list
  // carry each displayer, kept in step as parameters are added and given
  // displayers. It answers only for the template and the number of nodes it
  // was counted for, and for no template once it is stale.
  std::array<uint16_t, 256> displayerUses{};
  const FixtureTemplate* displayerUsesTemplate = nullptr;
  size_t displayerUsesNodes = 0;
};

extern ParseContext parseContext;

// Adds one error; the 8-bit count stops at 255 instead of wrapping to 0.
inline void CountError() {
  if (parseContext.errorCount < UINT8_MAX) ++parseContext.errorCount;
}

// What the line's keyword is matched on: KEYWORD_WINDOW bytes that begin
// with it.
inline std::span<const char> KeywordWindow() {
  const ParseContext& ctx = parseContext;
  return {ctx.lineReadInPlace ? ctx.lineInPlace.keyword.data() : ctx.lineBuffer, KEYWORD_WINDOW};
}

// An attribute was added, a channel set or the template replaced.
inline void AttributesChanged() { parseContext.channelIndexStale = 1; }

// The parameter list changed in a way its displayer index does not follow.
inline void ParametersChanged() { parseContext.displayerUsesTemplate = nullptr; }

// The template that this load fills, or null.
inline FixtureTemplate* CurrentTemplate() { return FixtureInSlot(parseContext.slotIndex); }

}  // namespace fxt
