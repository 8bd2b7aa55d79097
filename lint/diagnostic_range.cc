#include "lint/diagnostic_range.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "lint/written_line.h"
#include "reader/keywords.h"
#include "reader/number_scan.h"
#include "reader/utf8.h"

namespace fxt {
namespace {

constexpr size_t NONE = std::string::npos;
constexpr int32_t DMX_VALUE_MAX = 255;
constexpr int32_t DISPLAY_VALUE_LIMIT = 999;
constexpr int32_t ATTRIBUTE_NUMBER_MAX = 512;

// What of its line a diagnostic speaks of.
enum class Part : uint8_t {
  kKeyword,          // the keyword, or the first word when there is none
  kWord,             // the first word: what the line begins with
  kValue,            // after the '='; the whole statement when there is none
  kQuoted,           // the value's quoted text and its quotes: a name, a label
  kStatement,        // keyword and value, without blanks around or a remark
  kUnclosedQuote,    // from the quote that is not closed to where the text ends
  kExtraQuotes,      // from the value's third quote on
  kListCharacter,    // an illegal character of an attribute list
  kListNumber,       // a number of an attribute list
  kOpenParenthesis,  // a slot list without its ')'
  kSlot,             // one slot of a stop line, or one of its characters
  kSlotList,         // a stop line's slots, from '(' to ')'
  kModeSeparator,    // what stands where the ',' after the slots belongs
  kModeLetter,       // the stop's mode letter
  kLabel,            // what follows the mode letter
  kDisplayValue,     // a display value of a mode d stop
  kAfterNumber,      // what follows the number that the value begins with
  kByte,             // one byte
  kByteOrderMark,    // the mark at the start of the file
  kToLineEnd,        // from the place to the end of its line
};

Part PartOf(DiagnosticId id) {
  using enum DiagnosticId;
  switch (id) {
    case kUnexpectedEndOfLine:
      return Part::kUnclosedQuote;
    case kTooManyQuotes:
      return Part::kExtraQuotes;
    case kNoKeyword:
    case kUnknownKeyword:
      return Part::kWord;
    case kExpectedFixture:
    case kNotAHeaderKeyword:
    case kVersionMissing:
    case kManufacturerMissing:
    case kFixtureNameMissing:
    case kIntensityMissing:
    case kMinValueNotIntensity:
    case kMaxValueNotIntensity:
    case kNotAnAttributeKeyword:
    case kNoDisplayer:
    case kNoParameterType:
    case kNotAParameterKeyword:
    case kNoAttributesYet:
    case kTooManyAttributes:
    case kTooManyParameters:
    case kTemplateWithoutEnd:
      return Part::kKeyword;
    case kManufacturerAlreadySet:
    case kSecondChannel:
    case kParameterNameAlreadySet:
    case kAttributeListTwice:
    case kDisplayerAlreadyDefined:
    case kTooManyStops:
    case kOutOfMemory:
      return Part::kStatement;
    case kListIllegalCharacter:
      return Part::kListCharacter;
    case kIllegalAttributeNumber:
    case kSameNumberTwice:
    case kNoAttributeOnChannel:
      return Part::kListNumber;
    case kMissingParenthesis:
      return Part::kOpenParenthesis;
    case kTooManyMouseMarks:
    case kSlotIllegalCharacter:
    case kSlotSyntax:
    case kValueOutOfRange:
    case kTooManySlotValues:
    case kRangeReversed:
      return Part::kSlot;
    case kStopOutOfOrder:
    case kStopRepeated:
      return Part::kSlotList;
    case kVersionThirdNumber:
    case kTextAfterNumber:
      return Part::kAfterNumber;
    case kModeSyntax:
      return Part::kModeSeparator;
    case kInvalidMode:
    case kModeNeedsMouse:
    case kModeForbidsMouse:
      return Part::kModeLetter;
    case kLabelSyntax:
      return Part::kLabel;
    case kDisplayValueOutOfRange:
      return Part::kDisplayValue;
    case kNameCaseDiffers:
    case kStrayBlank:
    case kNameTooLong:
      return Part::kQuoted;
    case kInputEndByte:
    case kWideCharacter:
      return Part::kByte;
    case kByteOrderMark:
      return Part::kByteOrderMark;
    case kLineTooLong:
    case kNoFixtureLine:
    case kUnusedSuppression:
      return Part::kToLineEnd;
    default:
      return Part::kValue;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The characters of a slot that a stop line's parse keeps: 'm' and 'r'
// leave a blank.
bool IsSlotCharacter(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || c == 'x' || c == ':' || c == 'm' || c == 'r';
}

// A slot's value, read as the stop line's parse reads it: a low and a high
// part split at the first ':' after the first character, each hexadecimal
// when its second character is 'x'.
struct SlotValue {
  bool read = false;
  int32_t low = 0;
  int32_t high = 0;
};

SlotValue ReadSlot(std::string slot) {
  std::ranges::replace(slot, 'm', ' ');
  std::ranges::replace(slot, 'r', ' ');
  const size_t colon = slot.size() > 1 ? slot.find(':', 1) : NONE;
  const auto part = [&slot](size_t begin, size_t end) {
    const bool hex = end - begin >= 2 && slot[begin + 1] == 'x';
    return hex ? ScanHex(slot.c_str() + begin) : ScanDecimal(slot.c_str() + begin);
  };
  const ScannedNumber low = part(0, colon == NONE ? slot.size() : colon);
  const ScannedNumber high = colon == NONE ? low : part(colon + 1, slot.size());
  const bool read = low.status == ScanStatus::kConverted && high.status == ScanStatus::kConverted;
  return {read, low.value, high.value};
}

// The parts of one line, found in the reader's text and placed in the raw.
class LineParts {
 public:
  LineParts(std::string_view text, const RangeContext& context)
      : line_(text), text_(line_.Text()), context_(context), equals_(text_.find('=')) {}

  ByteSpan Find(DiagnosticId id) {
    switch (PartOf(id)) {
      case Part::kKeyword:
        return Keyword();
      case Part::kWord:
        return Word();
      case Part::kValue:
        return Value();
      case Part::kStatement:
        return Statement();
      case Part::kQuoted:
        return Quoted();
      case Part::kUnclosedQuote:
        return line_.QuoteUnclosed() ? WithoutTrailingBlanks(line_.UnclosedQuote()) : Statement();
      case Part::kExtraQuotes:
        return ExtraQuotes();
      case Part::kListCharacter:
        return ListCharacter();
      case Part::kListNumber:
        return ListNumber(id);
      case Part::kOpenParenthesis:
        return HasValue() ? line_.RawOf(equals_ + 1, text_.size()) : Statement();
      case Part::kSlot:
        return Slot(id);
      case Part::kSlotList:
        return Close() == NONE ? Value() : Chars(Open(), Close() + 1);
      case Part::kModeSeparator:
        return ModeSeparator();
      case Part::kModeLetter:
        return ModeLetter();
      case Part::kLabel:
        return Label();
      case Part::kDisplayValue:
        return DisplayValue();
      case Part::kAfterNumber:
        return AfterNumber();
      default:
        return Statement();
    }
  }

 private:
  WrittenLine line_;
  const std::string& text_;
  const RangeContext& context_;
  size_t equals_;

  bool HasValue() const { return equals_ != NONE && equals_ + 1 < text_.size(); }
  size_t ValueBegin() const { return equals_ + 1; }
  ByteSpan Chars(size_t first, size_t last) const { return line_.RawOf(first, last); }
  ByteSpan Char(size_t at) const { return line_.RawOf(at, at + 1); }

  ByteSpan Statement() const { return Chars(0, text_.size()); }

  ByteSpan WithoutTrailingBlanks(ByteSpan span) const {
    const std::string_view raw = line_.Raw();
    while (span.end > span.begin + 1 && (raw[span.end - 1] == ' ' || raw[span.end - 1] == '\t')) {
      --span.end;
    }
    return span;
  }

  ByteSpan Word() const {
    const size_t end = text_.find_first_of("=\"");
    return Chars(0, end == 0 ? 1 : end);
  }

  ByteSpan Keyword() const {
    const fxt::Keyword* keyword = MatchKeyword(text_.c_str());
    if (keyword == nullptr) return Word();
    const std::string_view word = keyword->text;
    return Chars(0, word.ends_with('=') ? word.size() - 1 : word.size());
  }

  ByteSpan Value() const { return HasValue() ? Chars(ValueBegin(), text_.size()) : Statement(); }

  ByteSpan Quoted() const {
    const size_t open = HasValue() ? text_.find('"', ValueBegin()) : NONE;
    if (open == NONE) return Value();
    const size_t close = text_.find('"', open + 1);
    return Chars(open, close == NONE ? text_.size() : close + 1);
  }

  // The reader counts the value's quotes; the third and what follows it
  // are too many.
  ByteSpan ExtraQuotes() const {
    if (!HasValue()) return Statement();
    size_t quote = ValueBegin() - 1;
    for (int seen = 0; seen < 3; ++seen) {
      quote = text_.find('"', quote + 1);
      if (quote == NONE) return Value();
    }
    return Chars(quote, text_.size());
  }

  ByteSpan ListCharacter() const {
    size_t seen = 0;
    for (size_t i = ValueBegin(); HasValue() && i < text_.size(); ++i) {
      if (IsDigit(text_[i]) || text_[i] == ',') continue;
      if (seen++ == context_.occurrence) return Char(i);
    }
    return Value();
  }

  struct Item {
    size_t begin;
    size_t end;
  };

  // The comma-separated items of the value from `begin` up to `end`.
  std::vector<Item> ItemsBetween(size_t begin, size_t end) const {
    std::vector<Item> items;
    size_t itemBegin = begin;
    for (size_t i = begin; i <= end; ++i) {
      if (i < end && text_[i] != ',') continue;
      items.push_back({itemBegin, i});
      itemBegin = i + 1;
    }
    return items;
  }

  int32_t NumberAt(size_t at) const { return DecimalValue(text_.c_str() + at); }

  // The tester's checks of one number, in the order it reports them: above
  // 512, listed before (once for each earlier time), on no attribute.
  ByteSpan ListNumber(DiagnosticId id) const {
    if (!HasValue()) return Statement();
    std::array<size_t, 256> timesListed{};
    size_t seen = 0;
    for (const Item& item : ItemsBetween(ValueBegin(), text_.size())) {
      const int32_t number = NumberAt(item.begin);
      const auto channel = static_cast<uint8_t>(number);
      size_t reports = 0;
      if (id == DiagnosticId::kIllegalAttributeNumber)
        reports = number > ATTRIBUTE_NUMBER_MAX ? 1 : 0;
      if (id == DiagnosticId::kSameNumberTwice) reports = timesListed[channel];
      if (id == DiagnosticId::kNoAttributeOnChannel) reports = NamesNoAttribute(channel) ? 1 : 0;
      ++timesListed[channel];
      seen += reports;
      if (seen > context_.occurrence) return Chars(item.begin, item.end);
    }
    return Value();
  }

  // As the tester resolves a channel: the attribute whose channel field's
  // low 8 bits, plus one, give it.
  bool NamesNoAttribute(uint8_t channel) const {
    if (context_.tracker == nullptr) return false;
    if (channel == 0) return true;
    return std::ranges::none_of(context_.tracker->Attributes(), [channel](const auto& attribute) {
      return ((attribute.DmxChannel() - 1) & 0xFF) + 1 == channel;
    });
  }

  // The stop line's slot list: from its '(' to its ')'.
  size_t Open() const { return HasValue() && text_[ValueBegin()] == '(' ? ValueBegin() : NONE; }
  size_t Close() const {
    const size_t open = Open();
    return open == NONE ? NONE : text_.find(')', open + 1);
  }

  ByteSpan Slot(DiagnosticId id) const {
    const size_t open = Open();
    const size_t close = Close();
    if (close == NONE) return Value();
    const ByteSpan list = Chars(open, close + 1);
    if (id == DiagnosticId::kTooManyMouseMarks) {
      const size_t first = text_.find('m', open);
      const size_t second = first < close ? text_.find('m', first + 1) : NONE;
      return second < close ? Char(second) : list;
    }
    if (id == DiagnosticId::kSlotIllegalCharacter) {
      for (size_t i = open + 1; i < close; ++i) {
        if (!IsSlotCharacter(text_[i]) && text_[i] != ',') return Char(i);
      }
      return list;
    }
    std::vector<Item> values;
    for (const Item& item : ItemsBetween(open + 1, close)) {
      if (item.end > item.begin) values.push_back(item);
    }
    const size_t found = ValueSlot(id, values);
    return found < values.size() ? Chars(values[found].begin, values[found].end) : list;
  }

  std::string TextOf(const Item& item) const {
    return text_.substr(item.begin, item.end - item.begin);
  }

  // The slot, of those that hold a value, that the diagnostic is about.
  size_t ValueSlot(DiagnosticId id, const std::vector<Item>& values) const {
    static const std::vector<uint8_t> kNoList;
    const std::vector<uint8_t>& listed =
        context_.tracker != nullptr ? context_.tracker->ListedChannels() : kNoList;
    const auto channelOf = [&listed](size_t k) { return k < listed.size() ? listed[k] : 0; };
    if (values.empty()) return NONE;
    if (id == DiagnosticId::kTooManySlotValues) return std::min(listed.size(), values.size() - 1);
    if (id == DiagnosticId::kRangeReversed) return ReversedSlot(values);
    size_t outOfRange = NONE;
    for (size_t k = 0; k < values.size(); ++k) {
      const SlotValue value = ReadSlot(TextOf(values[k]));
      if (id == DiagnosticId::kSlotSyntax && (!value.read || channelOf(k) == 0)) return k;
      if (id != DiagnosticId::kValueOutOfRange ||
          std::max(value.low, value.high) <= DMX_VALUE_MAX) {
        continue;
      }
      if (outOfRange == NONE) outOfRange = k;
      const TrackedAttribute* owner =
          context_.tracker != nullptr ? context_.tracker->OwnerOf(channelOf(k)) : nullptr;
      if (owner == nullptr || !owner->HasFineChannel()) return k;
    }
    return outOfRange;
  }

  // The range that runs backwards, of those that do.
  size_t ReversedSlot(const std::vector<Item>& values) const {
    size_t seen = 0;
    for (size_t k = 0; k < values.size(); ++k) {
      const SlotValue value = ReadSlot(TextOf(values[k]));
      if (value.read && value.low > value.high && seen++ == context_.occurrence) return k;
    }
    return NONE;
  }

  ByteSpan ModeSeparator() const {
    const size_t close = Close();
    if (close == NONE) return Value();
    return close + 1 < text_.size() ? Char(close + 1) : Char(close);
  }

  ByteSpan ModeLetter() const {
    const size_t close = Close();
    if (close == NONE || close + 2 >= text_.size()) return ModeSeparator();
    return Char(close + 2);
  }

  // The label's quote belongs after the letter and one separator; a mode d
  // stop has its display values in between.
  ByteSpan Label() const {
    const size_t close = Close();
    if (close == NONE || close + 3 >= text_.size()) return ModeLetter();
    const bool display = text_[close + 2] == 'd';
    const size_t begin = !display && close + 4 < text_.size() ? close + 4 : close + 3;
    return Chars(begin, text_.size());
  }

  // ",from,to," after the letter d, as the stop line's parse reads them.
  ByteSpan DisplayValue() const {
    const size_t close = Close();
    if (close == NONE || close + 4 >= text_.size() || text_[close + 3] != ',') return Label();
    const char* begin = text_.c_str();
    const ScannedNumber from = ScanDecimal(begin + close + 4);
    const auto span = [&](const char* at, const ScannedNumber& number) {
      return Chars(static_cast<size_t>(at - begin), static_cast<size_t>(number.end - begin));
    };
    const auto outside = [](int32_t value) {
      return value < -DISPLAY_VALUE_LIMIT || value > DISPLAY_VALUE_LIMIT;
    };
    if (from.status != ScanStatus::kConverted || outside(from.value) || *from.end != ',') {
      return span(begin + close + 4, from);
    }
    const ScannedNumber to = ScanDecimal(from.end + 1);
    return span(from.end + 1, to);
  }

  ByteSpan AfterNumber() const;
};

// The number is read as the tester reads the line's: a version's two parts,
// a home value in hexadecimal when its second character is 'x'.
ByteSpan LineParts::AfterNumber() const {
  if (!HasValue()) return Statement();
  const char* begin = text_.c_str();
  const char* value = begin + ValueBegin();
  const fxt::Keyword* keyword = MatchKeyword(begin);
  const TokenId token = keyword == nullptr ? TOKEN_PLACEHOLDER : keyword->id;
  ScannedNumber number =
      token == TOKEN_HOME_VALUE && value[1] == 'x' ? ScanHex(value) : ScanDecimal(value);
  if (token == TOKEN_VERSION && number.status == ScanStatus::kConverted && *number.end == '.') {
    number = ScanDecimal(number.end + 1);
  }
  if (number.status != ScanStatus::kConverted) return Value();
  return Chars(static_cast<size_t>(number.end - begin), text_.size());
}

// The line's length without the '\r' of a CRLF line end.
size_t LineLength(std::string_view text) {
  return text.ends_with('\r') ? text.size() - 1 : text.size();
}

ByteSpan ToLineEnd(std::string_view text) {
  size_t end = LineLength(text);
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return {0, end};
}

// A range that covers nothing covers the byte where it stands, or the
// line's last one.
ByteSpan AtLeastOneByte(ByteSpan span, std::string_view text) {
  if (!span.Empty()) return span;
  const size_t length = LineLength(text);
  if (span.begin < length) return {span.begin, span.begin + 1};
  return length == 0 ? ByteSpan{0, 0} : ByteSpan{length - 1, length};
}

ByteSpan SpanOf(DiagnosticId id, std::string_view text, const RangeContext& context) {
  switch (PartOf(id)) {
    case Part::kByte:
      return {0, std::max<size_t>(Utf8SequenceLength(text), 1)};
    case Part::kByteOrderMark:
      return {0, text.starts_with("\xEF\xBB\xBF") ? size_t{3} : size_t{2}};
    case Part::kToLineEnd:
      return ToLineEnd(text);
    default:
      return AtLeastOneByte(LineParts(text, context).Find(id), text);
  }
}

int32_t ColumnAfter(SourcePosition at, size_t offset) {
  return static_cast<int32_t>(
      std::min<int64_t>(at.column + static_cast<int64_t>(offset), INT32_MAX));
}

}  // namespace

bool RangeCountsOccurrences(DiagnosticId id) {
  const Part part = PartOf(id);
  return part == Part::kListCharacter || part == Part::kListNumber ||
         id == DiagnosticId::kRangeReversed;
}

SourceRange RangeOf(DiagnosticId id, SourcePosition at, std::string_view text,
                    const RangeContext& context) {
  const ByteSpan span = SpanOf(id, text, context);
  return {{at.line, ColumnAfter(at, span.begin)}, {at.line, ColumnAfter(at, span.end)}};
}

}  // namespace fxt
