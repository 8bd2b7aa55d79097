#include "lsp/semantic_tokens.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>

#include "lsp/line_words.h"
#include "lsp/server.h"
#include "model/name_tables.h"
#include "model/table_name.h"

namespace fxt::lsp {
namespace {

// The legend's token types, in its order.
enum TokenType : uint32_t {
  TYPE_KEYWORD,
  TYPE_TABLE_NAME,  // a name that a fixed name table holds
  TYPE_OWN_NAME,    // a name that no table holds
  TYPE_NUMBER,
  TYPE_LETTER,  // a kind, a stop mode, a value mark
  TYPE_REMARK,
};
constexpr std::array<const char*, 6> kTypeNames = {"keyword", "enumMember", "string",
                                                   "number",  "enum",       "comment"};
constexpr uint32_t MODIFIER_ERROR = 1;  // bit 0 of the legend's modifiers
constexpr std::array<const char*, 1> kModifierNames = {"error"};

struct Token {
  Span span;
  TokenType type;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// The table a line's name is looked up in, as the model looks it up.
struct NameLookup {
  NameTable table;
  bool normalised = false;  // leading blanks skipped, letters upper-cased
};

std::optional<NameLookup> LookupFor(Block::Kind block, TokenId keyword) {
  if (keyword == TOKEN_MANUFACTURER) return NameLookup{ManufacturerNames, true};
  if (keyword == TOKEN_STOP) return NameLookup{DisplayLabels};
  if (keyword != TOKEN_NAME) return std::nullopt;
  if (block == Block::Kind::kAttribute) return NameLookup{AttributeTypeNames};
  if (block == Block::Kind::kParameter) return NameLookup{ParameterTypeNames, true};
  return std::nullopt;
}

TokenType NameType(const std::optional<NameLookup>& lookup, std::string_view written) {
  if (written.size() >= 2 && written.front() == '"' && written.back() == '"') {
    written = written.substr(1, written.size() - 2);
  } else if (!written.empty() && written.front() == '"') {
    written.remove_prefix(1);
  }
  if (!lookup) return TYPE_OWN_NAME;
  const int found = lookup->normalised ? LookupName(NormaliseName(written), lookup->table)
                                       : LookupName(written, lookup->table);
  return found >= 0 ? TYPE_TABLE_NAME : TYPE_OWN_NAME;
}

bool GivesName(TokenId keyword) {
  return keyword == TOKEN_NAME || keyword == TOKEN_MANUFACTURER || keyword == TOKEN_PRODUCT ||
         keyword == TOKEN_STOP;
}

// The end of a number that begins at `at`: decimal digits and points, or a
// hexadecimal one after "0x".
size_t NumberEnd(std::string_view code, size_t at) {
  if (code.substr(at, 2) == "0x" || code.substr(at, 2) == "0X") {
    at += 2;
    while (at < code.size() && IsHexDigit(code[at])) ++at;
    return at;
  }
  while (at < code.size() && (IsDigit(code[at]) || code[at] == '.')) ++at;
  return at;
}

// The pieces of a value: quoted names, numbers (a sign before one
// included), letters; a name keyword's value without quotes is one name.
void ValueTokens(std::string_view code, size_t at, const std::optional<NameLookup>& lookup,
                 bool givesName, std::vector<Token>& tokens) {
  const auto push = [&](size_t begin, size_t end, TokenType type) {
    tokens.push_back({{static_cast<int32_t>(begin), static_cast<int32_t>(end)}, type});
  };
  while (at < code.size()) {
    const char c = code[at];
    size_t end = at + 1;
    if (c == '"') {
      end = std::min(code.find('"', at + 1), code.size() - 1) + 1;
      push(at, end, NameType(lookup, code.substr(at, end - at)));
    } else if (IsDigit(c) || (c == '-' && at + 1 < code.size() && IsDigit(code[at + 1]))) {
      end = NumberEnd(code, c == '-' ? at + 1 : at);
      push(at, end, TYPE_NUMBER);
    } else if (IsLetter(c) && givesName && code.find('"') == std::string_view::npos) {
      end = code.find_last_not_of(" \t") + 1;
      push(at, end, NameType(lookup, code.substr(at, end - at)));
    } else if (IsLetter(c)) {
      while (end < code.size() && IsLetter(code[end])) ++end;
      push(at, end, TYPE_LETTER);
    }
    at = end;
  }
}

// The tokens of one line (from 1), in order.
std::vector<Token> LineTokens(const Snapshot& snapshot, int32_t lineNumber) {
  std::vector<Token> tokens;
  std::string line = TemplateLine(snapshot.lines.Line(lineNumber - 1));
  // The reader reads nothing after a carriage return, and ends a line's code
  // at its first '/', inside quotes too.
  line.resize(std::min(line.find('\r'), line.size()));
  const size_t remark = std::min(line.find('/'), line.size());
  const std::string_view code = std::string_view(line).substr(0, remark);
  const WrittenKeyword keyword = KeywordOf(code);
  if (keyword.keyword != nullptr) {
    tokens.push_back({keyword.span, TYPE_KEYWORD});
    const TokenId id = keyword.keyword->id;
    ValueTokens(code, static_cast<size_t>(keyword.span.end),
                LookupFor(BlockAt(snapshot.blocks, lineNumber).kind, id), GivesName(id), tokens);
  }
  if (remark < line.size()) {
    tokens.push_back(
        {{static_cast<int32_t>(remark), static_cast<int32_t>(line.size())}, TYPE_REMARK});
  }
  return tokens;
}

// The spans of one line that errors cover: a range over several lines marks
// its first line from its start and its last line up to its end.
class ErrorSpans {
 public:
  explicit ErrorSpans(const Analysis& analysis) {
    for (const AnalysedDiagnostic& diagnostic : analysis.diagnostics) {
      if (diagnostic.severity < Severity::kError) continue;
      const SourceRange& range = diagnostic.range;
      const int32_t end = range.start.line == range.end.line ? range.end.column - 1 : INT32_MAX;
      spans_.push_back({range.start.line, {range.start.column - 1, end}});
      if (range.end.line > range.start.line)
        spans_.push_back({range.end.line, {0, range.end.column - 1}});
    }
    std::ranges::sort(spans_, {}, &ErrorOnLine::line);
  }

  // Whether an error covers part of `span` on `line`; lines are asked in order.
  bool Covers(int32_t line, Span span) {
    while (next_ < spans_.size() && spans_[next_].line < line) ++next_;
    for (size_t i = next_; i < spans_.size() && spans_[i].line == line; ++i) {
      const Span& error = spans_[i].span;
      // An empty range marks the character it stands on.
      if (span.begin < std::max(error.end, error.begin + 1) && error.begin < span.end) return true;
    }
    return false;
  }

 private:
  struct ErrorOnLine {
    int32_t line;
    Span span;
  };
  std::vector<ErrorOnLine> spans_;
  size_t next_ = 0;
};

// The client's places of a token's ends on a line (from 0). A template's
// line begins a client's line, which is its own line number plus the lone
// carriage returns before it, which end lines for the client alone; on a
// line of ASCII text without one, a character is one code unit.
class TokenPlaces {
 public:
  explicit TokenPlaces(const Snapshot& snapshot) : snapshot_(snapshot) {}

  // Moves to the next line; lines are visited in order, each once.
  void Visit(int32_t line) {
    line_ = line;
    const std::string_view text = snapshot_.lines.Line(line);
    start_ = {static_cast<size_t>(line) + returns_, 0};
    plain_ = true;
    for (const char c : text) {
      if (c == '\r') ++returns_;
      if (c == '\r' || (c & 0x80) != 0) plain_ = false;
    }
  }

  ClientPosition Of(int32_t index) const {
    if (plain_) return {start_.line, static_cast<size_t>(index)};
    return snapshot_.lines.ClientPositionOf(snapshot_.lines.OffsetOf(line_, index),
                                            snapshot_.encoding);
  }

 private:
  const Snapshot& snapshot_;
  int32_t line_ = 0;
  size_t returns_ = 0;  // lone carriage returns before the line
  ClientPosition start_;
  bool plain_ = false;
};

}  // namespace

json SemanticTokensLegend() {
  return {{"tokenTypes", kTypeNames}, {"tokenModifiers", kModifierNames}};
}

std::vector<uint32_t> SemanticTokenData(const Snapshot& snapshot) {
  std::vector<uint32_t> data;
  ErrorSpans errors(snapshot.analysis);
  ClientPosition previous;
  const auto lineCount = static_cast<int32_t>(snapshot.lines.LineCount());
  TokenPlaces places(snapshot);
  for (int32_t line = 1; line <= lineCount; ++line) {
    places.Visit(line - 1);
    const std::vector<Token> tokens = LineTokens(snapshot, line);
    for (const Token& token : tokens) {
      const ClientPosition start = places.Of(token.span.begin);
      const ClientPosition end = places.Of(token.span.end);
      if (end.line != start.line || end.character <= start.character) continue;
      const size_t deltaLine = start.line - previous.line;
      data.insert(data.end(),
                  {static_cast<uint32_t>(deltaLine),
                   static_cast<uint32_t>(deltaLine == 0 ? start.character - previous.character
                                                        : start.character),
                   static_cast<uint32_t>(end.character - start.character),
                   static_cast<uint32_t>(token.type),
                   errors.Covers(line, token.span) ? MODIFIER_ERROR : 0});
      previous = start;
    }
  }
  return data;
}

json TokenEdits(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after) {
  const size_t shorter = std::min(before.size(), after.size());
  size_t start = 0;
  while (start < shorter && before[start] == after[start]) ++start;
  size_t end = 0;  // equal numbers at the end, after `start`
  while (end < shorter - start &&
         before[before.size() - 1 - end] == after[after.size() - 1 - end]) {
    ++end;
  }
  if (start == before.size() && start == after.size()) return json::array();
  const auto first = after.begin() + static_cast<std::ptrdiff_t>(start);
  return json::array(
      {{{"start", start},
        {"deleteCount", before.size() - start - end},
        {"data", std::vector<uint32_t>(first, after.end() - static_cast<std::ptrdiff_t>(end))}}});
}

json Server::TokensFull(const json& params) {
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    TokenResult& kept = tokenResults_[snapshot.uri];
    kept = {std::to_string(++tokenResultsMade_), SemanticTokenData(snapshot)};
    return json{{"resultId", kept.id}, {"data", kept.data}};
  });
}

// Against the result the client names, when it is the one kept; else whole.
json Server::TokensDelta(const json& params) {
  const auto previous = params.find("previousResultId");
  if (previous == params.end() || !previous->is_string()) {
    throw InvalidParams("previousResultId: expected a string");
  }
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    TokenResult& kept = tokenResults_[snapshot.uri];
    std::vector<uint32_t> data = SemanticTokenData(snapshot);
    const std::string id = std::to_string(++tokenResultsMade_);
    json result = {{"resultId", id}};
    if (kept.id == previous->get<std::string>()) {
      result["edits"] = TokenEdits(kept.data, data);
    } else {
      result["data"] = data;
    }
    kept = {id, std::move(data)};
    return result;
  });
}

}  // namespace fxt::lsp
