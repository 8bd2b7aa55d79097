// The keywords that a template line can begin with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace fxt {

using TokenId = int32_t;

enum : TokenId {
  TOKEN_PLACEHOLDER = 0,  // no template uses it; only TRANSITION_ANY takes it
  TOKEN_FIXTURE = 1,
  TOKEN_NAME = 2,
  TOKEN_VERSION = 3,
  TOKEN_MANUFACTURER = 4,
  TOKEN_PRODUCT = 5,
  TOKEN_NUM_DMX = 6,
  TOKEN_ATTRIBUTE = 7,
  TOKEN_CHANNEL = 8,
  TOKEN_FINE_CHANNEL = 9,
  TOKEN_HOME_VALUE = 10,
  TOKEN_MIN_VALUE = 11,
  TOKEN_MAX_VALUE = 12,
  TOKEN_DEFLECTION = 13,
  TOKEN_INVERT = 14,
  TOKEN_PARAMETER = 15,
  TOKEN_TYPE = 16,
  TOKEN_ATTRIB_LIST = 17,
  TOKEN_DISPLAYER_NUM = 18,
  TOKEN_STOP = 19,
  TOKEN_END = 20,
};

struct Keyword {
  TokenId id;
  char text[16];
};

inline constexpr int KEYWORD_COUNT = 21;

inline constexpr std::array<Keyword, KEYWORD_COUNT> KeywordTable = {{
    {TOKEN_PLACEHOLDER, "abcdefghijk"},
    {TOKEN_FIXTURE, "fixture"},
    {TOKEN_NAME, "name="},
    {TOKEN_VERSION, "version="},
    {TOKEN_MANUFACTURER, "manufacturer="},
    {TOKEN_PRODUCT, "product="},
    {TOKEN_NUM_DMX, "numDMX="},
    {TOKEN_ATTRIBUTE, "attribute"},
    {TOKEN_CHANNEL, "channel="},
    {TOKEN_FINE_CHANNEL, "finechan="},
    {TOKEN_HOME_VALUE, "homeval="},
    {TOKEN_MIN_VALUE, "minval="},
    {TOKEN_MAX_VALUE, "maxval="},
    {TOKEN_DEFLECTION, "deflection="},
    {TOKEN_INVERT, "invert="},
    {TOKEN_PARAMETER, "parameter"},
    {TOKEN_TYPE, "type="},
    {TOKEN_ATTRIB_LIST, "attriblist="},
    {TOKEN_DISPLAYER_NUM, "displayernum="},
    {TOKEN_STOP, "stop"},
    {TOKEN_END, "end"},
}};

// The first keyword that, in lower case, begins `line`; null when none does.
const Keyword* MatchKeyword(const char* line);
// The same for a line held in a buffer of at least KEYWORD_WINDOW bytes,
// which are read whatever follows the line's NUL.
inline constexpr size_t KEYWORD_WINDOW = 16;
const Keyword* MatchBufferedKeyword(std::span<const char> buffer);

}  // namespace fxt
