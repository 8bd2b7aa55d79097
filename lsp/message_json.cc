#include "lsp/message_json.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fxt::lsp {
namespace {

constexpr std::string_view kReplacement = "\\uFFFD";
constexpr size_t ESCAPE_LENGTH = 6;  // \uXXXX

// The UTF-16 unit of the escape "\uXXXX" at `at`, if one stands there.
std::optional<uint32_t> EscapedUnit(std::string_view text, size_t at) {
  if (at + ESCAPE_LENGTH > text.size() || text[at] != '\\' || text[at + 1] != 'u') {
    return std::nullopt;
  }
  uint32_t unit = 0;
  for (size_t i = at + 2; i < at + ESCAPE_LENGTH; ++i) {
    const char c = text[i];
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
      digit = static_cast<uint32_t>((c | 0x20) - 'a' + 10);
    } else {
      return std::nullopt;
    }
    unit = unit * 16 + digit;
  }
  return unit;
}

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The offsets of the escapes of lone surrogates, in one pass over the text:
// escapes count inside strings only.
std::vector<size_t> LoneSurrogates(std::string_view text) {
  std::vector<size_t> lone;
  bool inString = false;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') inString = !inString;
    if (!inString || c != '\\') {
      ++i;
      continue;
    }
    const std::optional<uint32_t> unit = EscapedUnit(text, i);
    if (!unit) {
      i += 2;  // an escape of one character, such as \" or \\ .
      continue;
    }
    if (IsHighSurrogate(*unit)) {
      const std::optional<uint32_t> next = EscapedUnit(text, i + ESCAPE_LENGTH);
      if (next && IsLowSurrogate(*next)) {
        i += 2 * ESCAPE_LENGTH;
        continue;
      }
      lone.push_back(i);
    } else if (IsLowSurrogate(*unit)) {
      lone.push_back(i);
    }
    i += ESCAPE_LENGTH;
  }
  return lone;
}

}  // namespace

json ParseMessage(std::string_view body) {
  const std::vector<size_t> lone = LoneSurrogates(body);
  if (lone.empty()) return json::parse(body, nullptr, false);
  std::string mended(body);
  for (const size_t at : lone) mended.replace(at, ESCAPE_LENGTH, kReplacement);
  return json::parse(mended, nullptr, false);
}

bool NestsDeeperThan(const json& value, size_t most) {
  if (!value.is_structured()) return false;
  if (most == 0) return true;
  // The containers open on the way down, each with the next of its values.
  std::vector<std::pair<json::const_iterator, json::const_iterator>> path;
  path.emplace_back(value.cbegin(), value.cend());
  while (!path.empty()) {
    auto& [next, end] = path.back();
    if (next == end) {
      path.pop_back();
      continue;
    }
    const json& inner = *next;
    ++next;
    if (!inner.is_structured()) continue;
    if (path.size() == most) return true;
    path.emplace_back(inner.cbegin(), inner.cend());
  }
  return false;
}

}  // namespace fxt::lsp
