// The rules on how a line is written: its keyword, its quotes and the names
// it gives, each with the fix that mends it where there is one safe one.
#include <span>
#include <string_view>
#include <utility>

#include "lint/edit_distance.h"
#include "lint/rules.h"
#include "lint/written_line.h"
#include "model/fixture_template.h"
#include "model/name_index.h"
#include "model/table_name.h"
#include "reader/utf8.h"

namespace fxt {
namespace {

constexpr size_t MOST_EDITS = 2;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The keyword as a user writes it: without its '='.
std::string_view KeywordWord(const Keyword& keyword) {
  std::string_view word = keyword.text;
  if (word.ends_with('=')) word.remove_suffix(1);
  return word;
}

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return lowered;
}

bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

// The table entry that `name` spells in another letter case, if any.
const char* CaseVariantIn(std::string_view name, NameTable table) {
  if (IndexOf(table).Find(name) != -1) return nullptr;
  const int variant = IndexOf(table, NameIndex::Case::kIgnored).Find(name);
  return variant == -1 ? nullptr : table[static_cast<size_t>(variant)];
}

// The text without blanks before or after it, and with one blank where it
// has several in a row.
std::string WithoutStrayBlanks(std::string_view text) {
  std::string tidy;
  for (const char c : text) {
    if (c == ' ' && (tidy.empty() || tidy.back() == ' ')) continue;
    tidy += c;
  }
  if (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
  return tidy;
}

// The characters that stand for quotes in other writing: the apostrophe and
// the back quote, and the typographic quotes, in UTF-8 for a value that is
// UTF-8, else as the single bytes of Latin-1 and the Windows code page (a
// byte that could end a UTF-8 character is read as one only there).
constexpr std::string_view kUtf8Quotes[] = {
    "'",
    "`",
    "\xE2\x80\x9C",
    "\xE2\x80\x9D",
    "\xE2\x80\x9E",
    "\xE2\x80\x98",
    "\xE2\x80\x99",
    "\xC2\xAB",
    "\xC2\xBB",
};
constexpr std::string_view kSingleByteQuotes[] = {
    "'", "`", "\xAB", "\xBB", "\x93", "\x94", "\x91", "\x92",
};

// The lengths of the quote-like characters that open and close `text`.
std::pair<size_t, size_t> QuoteLikesAround(std::string_view text) {
  const std::span<const std::string_view> quotes =
      IsValidUtf8(text) ? std::span<const std::string_view>(kUtf8Quotes) : kSingleByteQuotes;
  size_t open = 0;
  size_t close = 0;
  for (const std::string_view quote : quotes) {
    if (open == 0 && text.starts_with(quote)) open = quote.size();
    if (close == 0 && text.ends_with(quote)) close = quote.size();
  }
  return {open, close};
}

// A value in double quotes: quotes of another kind around it become double
// quotes; a value without any gets them. `quoted` is the value as it reads
// after the fix.
Fix QuotingFix(const WrittenLine& text, ByteSpan value, std::string& quoted) {
  const std::string_view written = text.RawText(value);
  const auto [open, close] = QuoteLikesAround(written);
  if (open > 0 && close > 0 && open + close < written.size()) {
    const std::string_view inside = written.substr(open, written.size() - open - close);
    quoted = Quoted(inside);
    return {"put the value in double quotes",
            {text.Replace({value.begin, value.begin + open}, "\""),
             text.Replace({value.end - close, value.end}, "\"")}};
  }
  quoted = Quoted(written);
  return {"put the value in double quotes",
          {text.Insert(value.begin, "\""), text.Insert(value.end, "\"")}};
}

// Where an unquoted label begins in a stop's normalised value: after the
// mode letter and its separator, or after the two display values.
std::optional<size_t> LabelStart(std::string_view value) {
  const size_t close = value.find(')');
  if (close == std::string_view::npos || close + 4 >= value.size()) return std::nullopt;
  if (value[close + 1] != ',') return std::nullopt;
  const char mode = value[close + 2];
  if (std::string_view("nbw123").find(mode) != std::string_view::npos) return close + 4;
  if (mode != 'd') return std::nullopt;
  size_t at = close + 3;
  for (int number = 0; number < 2; ++number) {
    if (at >= value.size() || value[at] != ',') return std::nullopt;
    ++at;
    if (at < value.size() && (value[at] == '-' || value[at] == '+')) ++at;
    const size_t digits = at;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9') ++at;
    if (at == digits) return std::nullopt;
  }
  if (at + 1 >= value.size() || value[at] != ',') return std::nullopt;
  return at + 1;
}

// Whether a value, as normalised, is of the kind the keyword takes: a
// quoted text, a letter or a number. A keyword suggested for a value of
// another kind would only trade one diagnostic for the next.
bool ValueSuits(TokenId keyword, std::string_view value) {
  if (value.empty()) return false;
  const char first = value.front();
  switch (keyword) {
    case TOKEN_NAME:
    case TOKEN_MANUFACTURER:
    case TOKEN_PRODUCT:
      return first == '"';
    case TOKEN_TYPE:
      return IsLetter(first);
    default:
      return (first >= '0' && first <= '9') || first == '-' || first == '+';
  }
}

// How far a written word is from a keyword: its edits, or one where the word
// is the keyword cut short ("home" for homeval), as a typist stops early.
size_t Distance(std::string_view word, std::string_view keyword) {
  constexpr size_t kShortestCut = 3;
  if (word.size() >= kShortestCut && keyword.starts_with(word)) return 1;
  const size_t gap =
      keyword.size() > word.size() ? keyword.size() - word.size() : word.size() - keyword.size();
  return gap > MOST_EDITS ? MOST_EDITS + 1 : EditDistance(word, keyword);
}

// The keyword closest to a word that begins no known one, among those that
// take the value written after the '=' (any keyword where no '=' follows);
// null when none is near, and `tied` when two are as near.
const Keyword* ClosestKeyword(std::string_view normalised, std::string_view word, bool& tied) {
  const bool equalsFollows = word.size() < normalised.size() && normalised[word.size()] == '=';
  const std::string_view value = equalsFollows ? normalised.substr(word.size() + 1) : "";
  const Keyword* closest = nullptr;
  size_t closestDistance = MOST_EDITS + 1;
  tied = false;
  for (const Keyword& keyword : KeywordTable) {
    if (keyword.id == TOKEN_PLACEHOLDER) continue;
    const std::string lowered = Lowered(KeywordWord(keyword));
    const bool takesValue = lowered.size() != std::string_view(keyword.text).size();
    if (equalsFollows && (!takesValue || !ValueSuits(keyword.id, value))) continue;
    const size_t distance = Distance(word, lowered);
    if (distance < closestDistance) {
      closest = &keyword;
      closestDistance = distance;
      tied = false;
    } else if (distance == closestDistance) {
      tied = true;
    }
  }
  return closest;
}

}  // namespace

// The word is what the line begins with, up to its '=' or quote: blanks are
// gone, so "fine chan = 3" reads as "finechan".
void RuleChecker::CheckUnknownKeyword(const LineEvent& line) {
  const std::string_view word = line.normalised.substr(0, line.normalised.find_first_of("=\""));
  if (word.empty() || CheckMissingEquals(line, word)) return;
  bool tied = false;
  const Keyword* closest = ClosestKeyword(line.normalised, word, tied);
  if (closest == nullptr) return;
  const std::string spelt(KeywordWord(*closest));
  // The word is the keyword alone only when an '=' follows it, or when the
  // keyword takes no value and nothing follows; otherwise it runs into the
  // value, and no spelling of it is safe.
  const bool takesValue = spelt.size() != std::string_view(closest->text).size();
  const bool wordAlone =
      takesValue ? word.size() < line.normalised.size() && line.normalised[word.size()] == '='
                 : word.size() == line.normalised.size();
  std::optional<Fix> fix;
  if (!tied && wordAlone) {
    const WrittenLine text(bytes_, line);
    fix = Fix{"spell the keyword " + spelt, {text.Replace(text.RawOf(0, word.size()), spelt)}};
  }
  Report(DiagnosticId::kUnknownKeyword, line.position,
         "unknown keyword '" + std::string(word) + "'; did you mean '" + spelt + "'?", {},
         std::move(fix));
}

// A keyword that takes a value, written without its '=': "channel 8",
// "name "Spot"". The line holds no '=' before its quotes.
bool RuleChecker::CheckMissingEquals(const LineEvent& line, std::string_view word) {
  const std::string_view normalised = line.normalised;
  if (word.size() < normalised.size() && normalised[word.size()] == '=') return false;
  const WrittenLine text(bytes_, line);
  for (const Keyword& keyword : KeywordTable) {
    const std::string_view spelt = KeywordWord(keyword);
    if (spelt.size() == std::string_view(keyword.text).size()) continue;  // takes no value
    const std::string lowered = Lowered(spelt);
    if (!normalised.starts_with(lowered)) continue;
    const size_t after = text.RawIndexOf(lowered.size() - 1) + 1;
    if (lowered.size() == normalised.size()) {
      Report(DiagnosticId::kUnknownKeyword, line.position,
             "'" + std::string(spelt) + "' takes an '=' and a value: " + std::string(spelt) +
                 " = ...");
      return true;
    }
    const bool separated = after < text.Raw().size() && IsBlank(text.Raw()[after]);
    if (!separated && IsLetter(normalised[lowered.size()])) continue;
    ByteSpan value = text.RawOf(lowered.size(), normalised.size());
    const std::string suggested = std::string(spelt) + " = " + std::string(text.RawText(value));
    Report(DiagnosticId::kUnknownKeyword, line.position,
           "'" + std::string(spelt) + "' takes its value after an '=': " + suggested, {},
           Fix{"insert the '=' after " + std::string(spelt),
               {text.Insert(after, separated ? " =" : "=")}});
    return true;
  }
  return false;
}

void RuleChecker::CheckNameCase(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  const bool attributeName = block == Block::kAttribute && token == TOKEN_NAME;
  const bool label = block == Block::kParameter && token == TOKEN_STOP;
  if (!attributeName && !label) return;
  const char* entry = CaseVariantIn(
      line.quotedText, attributeName ? NameTable(AttributeTypeNames) : NameTable(DisplayLabels));
  if (entry == nullptr) return;
  std::vector<Note> notes;
  if (std::string_view(entry) == "INTENSITY") {
    notes.push_back({"only \"INTENSITY\" declares the intensity attribute", std::nullopt});
  }
  const WrittenLine text(bytes_, line);
  std::optional<Fix> fix;
  if (const std::optional<ByteSpan> quoted = text.Quoted()) {
    fix = Fix{"write it as the table does: " + Quoted(entry), {text.Replace(*quoted, entry)}};
  }
  Report(DiagnosticId::kNameCaseDiffers, line.position,
         std::string(attributeName ? "name " : "label ") + Quoted(line.quotedText) +
             " is the table's " + Quoted(entry) + " only in another letter case: " +
             (attributeName ? "names" : "labels") + " are compared exactly",
         std::move(notes), std::move(fix));
}

// A name that would be a table's entry but for a blank before, after or
// doubled inside it. Manufacturers and parameter names are matched as the
// tester stores them: leading blanks skipped, letters in upper case.
void RuleChecker::CheckNameBlanks(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  NameTable table;
  bool storedUpperCase = false;
  if (block == Block::kAttribute && token == TOKEN_NAME) {
    table = AttributeTypeNames;
  } else if (block == Block::kParameter && token == TOKEN_STOP) {
    table = DisplayLabels;
  } else if (block == Block::kParameter && token == TOKEN_NAME) {
    table = ParameterTypeNames;
    storedUpperCase = true;
  } else if (block == Block::kHeader && token == TOKEN_MANUFACTURER) {
    table = ManufacturerNames;
    storedUpperCase = true;
  } else {
    return;
  }
  const std::string name(line.quotedText);
  const std::string tidy = WithoutStrayBlanks(name);
  if (tidy == name || tidy.empty()) return;
  const NameIndex& exact = IndexOf(table);
  if (storedUpperCase ? exact.Find(NormaliseName(name.c_str())) != -1 : exact.Find(name) != -1) {
    return;
  }
  const int entry = storedUpperCase ? exact.Find(NormaliseName(tidy.c_str()))
                                    : IndexOf(table, NameIndex::Case::kIgnored).Find(tidy);
  if (entry == -1) return;
  const WrittenLine text(bytes_, line);
  std::optional<Fix> fix;
  if (const std::optional<ByteSpan> quoted = text.Quoted()) {
    fix = Fix{"remove the stray blanks", {text.Replace(*quoted, tidy)}};
  }
  const std::string_view tableEntry = table[static_cast<size_t>(entry)];
  const bool sameCase =
      storedUpperCase ? NormaliseName(tidy.c_str()) == tableEntry : tidy == tableEntry;
  Report(DiagnosticId::kStrayBlank, line.position,
         Quoted(name) + " has a stray blank: without it, it is " +
             (sameCase ? "the table's " + Quoted(tableEntry)
                       : Quoted(tidy) + ", the table's " + Quoted(tableEntry) +
                             " in another letter case") +
             "; names are compared blank for blank",
         {}, std::move(fix));
}

void RuleChecker::CheckQuoting(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  const bool named =
      token == TOKEN_NAME || (token == TOKEN_MANUFACTURER && block == Block::kHeader);
  // valueText ends in its counted NUL.
  const std::string_view value = line.valueText.substr(0, line.valueText.size() - 1);
  if (value.empty() || value.find('"') != std::string_view::npos) return;
  const WrittenLine text(bytes_, line);
  std::string quoted;
  if (named) {
    const ByteSpan written = text.Value();
    Fix fix = QuotingFix(text, written, quoted);
    const std::string keyword(KeywordWord(*line.keyword));
    Report(DiagnosticId::kValueNotQuoted, line.position,
           keyword + "= takes its value in double quotes: " + keyword + " = " + quoted, {},
           std::move(fix));
  } else if (token == TOKEN_STOP && block == Block::kParameter && value.starts_with('(')) {
    std::optional<Fix> fix;
    std::string shown = "(0:255),n,\"Open\"";
    if (const std::optional<size_t> labelStart = LabelStart(value)) {
      const ByteSpan whole = text.Value();
      const ByteSpan written{text.RawIndexOf(text.ValueIndex() + *labelStart), whole.end};
      std::string label;
      if (!written.Empty()) {
        fix = QuotingFix(text, written, label);
        shown = std::string(text.RawText({whole.begin, written.begin})) + label;
      }
    }
    Report(DiagnosticId::kValueNotQuoted, line.position,
           "a stop's label must be in double quotes, as in stop = " + shown, {}, std::move(fix));
  }
}

// The tester keeps the first 15 characters of a model name, and the first
// 49 of a manufacturer or parameter name, counted from the first that is
// not a blank.
void RuleChecker::CheckNameLength(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  const std::string_view name = line.quotedText;
  if (name.ends_with('\0')) return;  // the quote is not closed
  if (block == Block::kHeader && token == TOKEN_NAME) {
    if (name.size() <= MODEL_NAME_LENGTH) return;
    Report(DiagnosticId::kNameTooLong, line.position,
           "the model name " + Quoted(name) + " has " + std::to_string(name.size()) +
               " characters; the desk keeps the first " + std::to_string(MODEL_NAME_LENGTH) + ": " +
               Quoted(name.substr(0, MODEL_NAME_LENGTH)));
    return;
  }
  const bool manufacturer = block == Block::kHeader && token == TOKEN_MANUFACTURER;
  const bool parameterName = block == Block::kParameter && token == TOKEN_NAME;
  if ((!manufacturer && !parameterName) || name.size() <= NAME_TEXT_MAX) return;
  const std::string kept = NormaliseName(std::string(name).c_str());
  Report(DiagnosticId::kNameTooLong, line.position,
         std::string(manufacturer ? "the manufacturer " : "the parameter name ") + Quoted(name) +
             " has " + std::to_string(name.size()) + " characters; the desk keeps the first " +
             std::to_string(NAME_TEXT_MAX) + ", in upper case: " + Quoted(kept));
}

}  // namespace fxt
