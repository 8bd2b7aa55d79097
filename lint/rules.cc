#include "lint/rules.h"

#include <cstring>
#include <string_view>

#include "lint/edit_distance.h"
#include "model/name_index.h"
#include "reader/number_scan.h"

namespace fxt {
namespace {

constexpr int32_t LONGEST_LINE = 99;
constexpr size_t MOST_EDITS = 2;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string LineWord(SourcePosition position) { return "line " + std::to_string(position.line); }

SourcePosition Later(SourcePosition a, SourcePosition b) {
  return (a.line > b.line || (a.line == b.line && a.column > b.column)) ? a : b;
}

// The table entry that `name` spells in another letter case, if any.
const char* CaseVariantIn(std::string_view name, NameTable table) {
  if (IndexOf(table).Find(name) != -1) return nullptr;
  const int variant = IndexOf(table, NameIndex::Case::kIgnored).Find(name);
  return variant == -1 ? nullptr : table[static_cast<size_t>(variant)];
}

// The value as written after the line's first '=', without its remark.
std::string_view WrittenValue(std::string_view raw) {
  const size_t equals = raw.find('=');
  if (equals == std::string_view::npos) return {};
  std::string_view value = raw.substr(equals + 1);
  value = value.substr(0, value.find('/'));
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!value.empty() && blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && blank(value.back())) value.remove_suffix(1);
  return value;
}

// The keyword as a user writes it: without its '='.
std::string_view KeywordWord(const Keyword& keyword) {
  std::string_view word = keyword.text;
  if (word.ends_with('=')) word.remove_suffix(1);
  return word;
}

}  // namespace

RuleChecker::RuleChecker(std::span<const uint8_t> bytes, FindingSink& sink)
    : bytes_(bytes), sink_(sink) {}

void RuleChecker::Report(DiagnosticId id, SourcePosition position, const std::string& text,
                         const std::vector<Note>& notes) {
  sink_.Finding(id, position, text, notes);
}

void RuleChecker::Start() {
  const std::string_view start(reinterpret_cast<const char*>(bytes_.data()),
                               std::min<size_t>(bytes_.size(), 3));
  if (start.starts_with("\xEF\xBB\xBF")) {
    Report(DiagnosticId::kByteOrderMark, {1, 1},
           "the file begins with a UTF-8 byte-order mark, which hides its first keyword; "
           "templates are single-byte text: save it without the mark");
  } else if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) {
    Report(DiagnosticId::kByteOrderMark, {1, 1},
           "the file begins with a UTF-16 byte-order mark; templates are single-byte text: "
           "save it as Latin-1 or ASCII");
  }
}

void RuleChecker::BeforeLine(const LineEvent& line, StateFn state) {
  tracker_.BeforeLine(line, state);
  CheckLineLength(line);
  if (line.keyword == nullptr && !line.normalised.empty()) CheckUnknownKeyword(line);
}

void RuleChecker::AfterLine(const LineEvent& line, StateFn state) {
  const Block block = tracker_.CurrentBlock();
  // A line that a block took: the state it was read in is the one it stayed in.
  if (tracker_.InTemplate()) {
    CheckNameCase(line, block);
    CheckQuoting(line, block);
    if (block == Block::kParameter && line.Token() == TOKEN_ATTRIB_LIST) CheckAttributeList(line);
  }
  tracker_.AfterLine(line, state);
}

void RuleChecker::End(const LoadEnd& end) {
  const bool readToTheEnd =
      end.reason == LoadEndReason::kInputEnd || end.reason == LoadEndReason::kInputEndByte;
  if (readToTheEnd && tracker_.InTemplate()) {
    const SourcePosition fixture = tracker_.FixtureLine();
    tracker_.End();
    Report(DiagnosticId::kTemplateWithoutEnd, fixture,
           "this template has no end line: the desk never runs its final checks "
           "(name, manufacturer, version, intensity attribute)");
  }
  if (!tracker_.SawTemplate()) {
    Report(DiagnosticId::kNoFixtureLine, {1, 1},
           "no fixture line: the file holds no template, and the desk loads nothing from it");
  }
  if (end.reason == LoadEndReason::kInputEndByte && end.bytesRead + 1 < bytes_.size()) {
    const size_t unread = bytes_.size() - end.bytesRead - 1;
    std::vector<Note> notes;
    if (end.bytesRead == 0 && bytes_.size() > 1 && bytes_[1] == 0xFE) {
      notes.push_back({"a UTF-16 file begins with the bytes 0xFF 0xFE", std::nullopt});
    }
    Report(DiagnosticId::kInputEndByte, end.position,
           "a byte 0xFF ends the input here: the " + Counted(unread, "byte") +
               (unread == 1 ? " after it is" : " after it are") + " never read",
           notes);
  }
}

void RuleChecker::TemplateOpened() {
  coarse_.fill(std::nullopt);
  fine_.fill(std::nullopt);
}

void RuleChecker::AttributeClosed(const TrackedAttribute& attribute) {
  if (!attribute.channel) {
    Report(DiagnosticId::kAttributeWithoutChannel, attribute.line,
           "attribute without channel=: it takes DMX channel 1");
  }
  CheckCoarseChannel(attribute);
  if (attribute.HasFineChannel()) CheckFineChannel(attribute);
}

// The tester sees two channel= lines with one number; it cannot see an
// attribute that takes channel 1 without one.
void RuleChecker::CheckCoarseChannel(const TrackedAttribute& attribute) {
  const int32_t channel = attribute.DmxChannel();
  if (channel < 1 || channel > 64) return;
  const auto at = static_cast<size_t>(channel);
  const std::optional<Claim>& coarse = coarse_[at];
  if (coarse && (!coarse->written || !attribute.channel)) {
    Report(DiagnosticId::kChannelSharedUnseen, attribute.ChannelLine(),
           "DMX channel " + std::to_string(channel) + " is taken by the attribute above too",
           {{"the attribute on " + LineWord(coarse->line) + " drives channel " +
                 std::to_string(channel),
             coarse->line}});
  }
  if (const std::optional<Claim>& fine = fine_[at]) {
    Report(DiagnosticId::kFineChannelTaken, attribute.ChannelLine(),
           "DMX channel " + std::to_string(channel) + " is the fine channel of an attribute above",
           {{"finechan= " + std::to_string(channel) + " on " + LineWord(fine->line), fine->line}});
  }
  if (!coarse) coarse_[at] = Claim{attribute.ChannelLine(), attribute.channel.has_value()};
}

void RuleChecker::CheckFineChannel(const TrackedAttribute& attribute) {
  const ValueLine& fineLine = *attribute.fineChannel;
  const int32_t fine = fineLine.value;
  if (fine < 1 || fine > 255) return;
  const auto at = static_cast<size_t>(fine);
  const std::string channelText = "fine channel " + std::to_string(fine);
  if (fine == attribute.DmxChannel()) {
    Report(DiagnosticId::kFineChannelTaken, Later(fineLine.position, attribute.ChannelLine()),
           channelText + " is the attribute's own channel");
  } else if (const std::optional<Claim>& coarse = coarse_[at]) {
    Report(
        DiagnosticId::kFineChannelTaken, fineLine.position,
        channelText + " is the channel of an attribute above",
        {{"the attribute on " + LineWord(coarse->line) + " drives channel " + std::to_string(fine),
          coarse->line}});
  } else if (const std::optional<Claim>& other = fine_[at]) {
    Report(DiagnosticId::kFineChannelTaken, fineLine.position,
           channelText + " is the fine channel of an attribute above too",
           {{"finechan= " + std::to_string(fine) + " on " + LineWord(other->line), other->line}});
  }
  if (!fine_[at]) fine_[at] = Claim{fineLine.position, true};
}

void RuleChecker::CheckLineLength(const LineEvent& line) {
  if (line.position.column != LONGEST_LINE + 1) return;
  // The physical line began 99 bytes before this piece.
  const char* begin = line.raw.data() - LONGEST_LINE;
  const auto* end = static_cast<const char*>(std::memchr(
      begin, '\n',
      static_cast<size_t>(reinterpret_cast<const char*>(bytes_.data()) + bytes_.size() - begin)));
  const size_t length = end == nullptr
                            ? static_cast<size_t>(reinterpret_cast<const char*>(bytes_.data()) +
                                                  bytes_.size() - begin)
                            : static_cast<size_t>(end - begin);
  Report(DiagnosticId::kLineTooLong, line.position,
         "this line is " + std::to_string(length) +
             " characters long: the desk reads the characters from 100 on as a new line");
}

// The word is what the line begins with, up to its '=' or quote: blanks are
// gone, so "fine chan = 3" reads as "finechan".
void RuleChecker::CheckUnknownKeyword(const LineEvent& line) {
  const std::string_view word = line.normalised.substr(0, line.normalised.find_first_of("=\""));
  if (word.empty()) return;
  const Keyword* closest = nullptr;
  size_t closestDistance = MOST_EDITS + 1;
  for (const Keyword& keyword : KeywordTable) {
    if (keyword.id == TOKEN_PLACEHOLDER) continue;
    std::string lowered(KeywordWord(keyword));
    for (char& c : lowered) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    const size_t gap =
        lowered.size() > word.size() ? lowered.size() - word.size() : word.size() - lowered.size();
    if (gap > MOST_EDITS) continue;
    const size_t distance = EditDistance(word, lowered);
    if (distance < closestDistance) {
      closest = &keyword;
      closestDistance = distance;
    }
  }
  if (closest == nullptr) return;
  Report(DiagnosticId::kUnknownKeyword, line.position,
         "unknown keyword '" + std::string(word) + "'; did you mean '" +
             std::string(KeywordWord(*closest)) + "'?");
}

void RuleChecker::CheckNameCase(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  if (block == Block::kAttribute && token == TOKEN_NAME) {
    const char* entry = CaseVariantIn(line.quotedText, AttributeTypeNames);
    if (entry == nullptr) return;
    std::vector<Note> notes;
    if (std::string_view(entry) == "INTENSITY") {
      notes.push_back({"only \"INTENSITY\" declares the intensity attribute", std::nullopt});
    }
    Report(DiagnosticId::kNameCaseDiffers, line.position,
           "name " + Quoted(line.quotedText) + " is the table's " + Quoted(entry) +
               " only in another letter case: names are compared exactly",
           notes);
  }
  if (block == Block::kParameter && token == TOKEN_STOP) {
    const char* entry = CaseVariantIn(line.quotedText, DisplayLabels);
    if (entry == nullptr) return;
    Report(DiagnosticId::kNameCaseDiffers, line.position,
           "label " + Quoted(line.quotedText) + " is the table's " + Quoted(entry) +
               " only in another letter case: labels are compared exactly");
  }
}

void RuleChecker::CheckQuoting(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  const bool named =
      token == TOKEN_NAME || (token == TOKEN_MANUFACTURER && block == Block::kHeader);
  // valueText ends in its counted NUL.
  const std::string_view value = line.valueText.substr(0, line.valueText.size() - 1);
  if (value.empty() || value.find('"') != std::string_view::npos) return;
  if (named) {
    Report(DiagnosticId::kValueNotQuoted, line.position,
           std::string(KeywordWord(*line.keyword)) + "= takes its value in double quotes: " +
               std::string(KeywordWord(*line.keyword)) + " = " + Quoted(WrittenValue(line.raw)));
  } else if (token == TOKEN_STOP && block == Block::kParameter && value.starts_with('(')) {
    Report(DiagnosticId::kValueNotQuoted, line.position,
           "a stop's label must be in double quotes, as in stop = (0:255),n,\"Open\"");
  }
}

// The numbers of the list are channels; each names the attribute above that
// drives it, as the tester resolves them.
void RuleChecker::CheckAttributeList(const LineEvent& line) {
  std::string channels;
  bool resolved = false;
  size_t begin = 0;
  const std::string_view value = line.valueText;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != ',' && value[i] != '\0') continue;
    const auto channel =
        static_cast<uint8_t>(DecimalValue(std::string(value.substr(begin, i - begin)).c_str()));
    begin = i + 1;
    channels += (channels.empty() ? "" : ", ") + std::to_string(channel);
    for (const TrackedAttribute& attribute : tracker_.Attributes()) {
      const int32_t field = attribute.DmxChannel() - 1;  // as the record stores it
      if (channel != 0 && ((field & 0xFF) + 1) == channel) resolved = true;
    }
  }
  if (resolved) return;
  Report(DiagnosticId::kListNamesNoAttribute, line.position,
         "the attribute list names no attribute: no attribute above this line is on channel " +
             channels + ", so the parameter controls nothing");
}

}  // namespace fxt
