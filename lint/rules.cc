#include "lint/rules.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "model/name_index.h"
#include "reader/number_scan.h"
#include "reader/utf8.h"

namespace fxt {
namespace {

constexpr int32_t LONGEST_LINE = 99;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The first byte at or after `from` that is not ASCII, or the text's size;
// eight bytes are looked at in one go.
size_t FirstNonAscii(std::string_view text, size_t from) {
  constexpr uint64_t HIGH_BITS = 0x8080808080808080U;
  size_t i = from;
  for (uint64_t word = 0; i + sizeof word <= text.size(); i += sizeof word) {
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((word & HIGH_BITS) != 0) break;
  }
  while (i < text.size() && static_cast<uint8_t>(text[i]) < 0x80) ++i;
  return i;
}

std::string LineWord(SourcePosition position) { return "line " + std::to_string(position.line); }

SourcePosition Later(SourcePosition a, SourcePosition b) {
  return (a.line > b.line || (a.line == b.line && a.column > b.column)) ? a : b;
}

}  // namespace

RuleChecker::RuleChecker(std::span<const uint8_t> bytes, FindingSink& sink, bool utf8Characters)
    : bytes_(bytes), sink_(sink), utf8Characters_(utf8Characters) {}

void RuleChecker::Report(DiagnosticId id, SourcePosition position, std::string text,
                         std::vector<Note> notes, std::optional<Fix> fix) {
  ++findings_;
  sink_.Found({id, position, std::move(text), std::move(notes), std::move(fix)});
}

void RuleChecker::Start() {
  const std::string_view start(reinterpret_cast<const char*>(bytes_.data()),
                               std::min<size_t>(bytes_.size(), 3));
  if (start.starts_with(kUtf8Mark)) {
    Report(DiagnosticId::kByteOrderMark, {1, 1},
           "the file begins with a UTF-8 byte-order mark, which hides its first keyword; "
           "templates are single-byte text: save it without the mark");
  } else if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) {
    Report(DiagnosticId::kByteOrderMark, {1, 1},
           "the file begins with a UTF-16 byte-order mark; templates are single-byte text: "
           "save it as Latin-1 or ASCII");
  }
  if (utf8Characters_) CheckWideCharacters();
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
    CheckTableName(line, block);
    CheckQuoting(line, block);
    CheckNameLength(line, block);
    CheckTextAfterNumber(line, block);
    if (block == Block::kHeader && line.Token() == TOKEN_VERSION) CheckVersion(line);
    if (block == Block::kParameter && line.Token() == TOKEN_ATTRIB_LIST) CheckAttributeList(line);
    if (block == Block::kParameter && line.Token() == TOKEN_STOP) CheckStop(line);
  }
  tracker_.AfterLine(line, state);
}

void RuleChecker::End(const LoadEnd& end) {
  ReportRepeatRun();
  const bool readToTheEnd =
      end.reason == LoadEndReason::kInputEnd || end.reason == LoadEndReason::kInputEndByte;
  if (readToTheEnd && tracker_.InTemplate()) {
    const SourcePosition fixture = tracker_.FixtureLine();
    // After a byte 0xFF nothing more is read: an end line there would not be.
    std::optional<Fix> fix = end.reason == LoadEndReason::kInputEnd ? EndLineFix() : std::nullopt;
    tracker_.End();
    Report(DiagnosticId::kTemplateWithoutEnd, fixture,
           "this template has no end line: the desk never runs its final checks "
           "(name, manufacturer, version, intensity attribute)",
           {}, std::move(fix));
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

// A name checked against its table finds the same on every line that
// writes it: a stop label found sound is not looked up again on the stop
// lines after it that repeat it.
void RuleChecker::CheckTableName(const LineEvent& line, Block block) {
  const bool label = block == Block::kParameter && line.Token() == TOKEN_STOP;
  if (label && soundLabel_ && line.quotedText == *soundLabel_) return;
  const uint64_t before = findings_;
  CheckNameCase(line, block);
  CheckNameBlanks(line, block);
  if (!label) return;
  if (findings_ == before) {
    soundLabel_.emplace(line.quotedText);
  } else {
    soundLabel_.reset();
  }
}

void RuleChecker::TemplateOpened() {
  ReportRepeatRun();
  coarse_.fill(std::nullopt);
  fine_.fill(std::nullopt);
}

void RuleChecker::ParameterOpened() {
  ReportRepeatRun();
  lastFixedStop_.reset();
  stopValues_.clear();
}

// An end line closes an attribute or parameter block; in the header it
// would be an unknown keyword. It goes at the end of the file, with the
// file's own line end.
std::optional<Fix> RuleChecker::EndLineFix() const {
  const Block block = tracker_.CurrentBlock();
  if (block != Block::kAttribute && block != Block::kParameter) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());
  const size_t firstEnd = text.find('\n');
  const std::string lineEnd =
      firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n"
                                                                                       : "\n";
  const std::string before = text.empty() || text.back() == '\n' ? "" : lineEnd;
  return Fix{"add an end line", {{text.size(), text.size(), before + "end" + lineEnd}}, true};
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

// A file that is valid UTF-8 was written by an editor that thinks in
// characters: one above U+00FF has no byte of its own in a template, and the
// desk reads each of its bytes as a character. A file that is not UTF-8 is
// single-byte text, as a template should be.
void RuleChecker::CheckWideCharacters() {
  std::string_view text(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());
  if (text.starts_with(kUtf8Mark)) text.remove_prefix(kUtf8Mark.size());
  bool wide = false;
  for (size_t i = FirstNonAscii(text, 0); i < text.size(); i = FirstNonAscii(text, i)) {
    const size_t length = Utf8SequenceLength(text.substr(i));
    if (length == 0) return;
    wide = wide || Utf8CodePoint(text.substr(i), length) > 0xFF;
    i += length;
  }
  if (!wide) return;
  const size_t skipped = bytes_.size() - text.size();
  SourcePosition position{1, static_cast<int32_t>(skipped + 1)};
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8SequenceLength(text.substr(i));
    const uint32_t codePoint = Utf8CodePoint(text.substr(i), length);
    if (codePoint > 0xFF) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", codePoint);
      Report(DiagnosticId::kWideCharacter, position,
             std::string("a character above U+00FF (") + name +
                 ") in a UTF-8 file: templates are single-byte text, and the desk reads its " +
                 std::to_string(length) + " bytes as " + std::to_string(length) + " characters");
    }
    if (codePoint == '\n') {
      position = {position.line + 1, 1};
    } else if (position.column < INT32_MAX - 4) {
      position.column += static_cast<int32_t>(length);
    }
    i += length;
  }
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
    if (resolved || channel == 0) continue;
    resolved = std::ranges::any_of(tracker_.Attributes(), [channel](const auto& attribute) {
      const int32_t field = attribute.DmxChannel() - 1;  // as the record stores it
      return ((field & 0xFF) + 1) == channel;
    });
  }
  if (resolved) return;
  Report(DiagnosticId::kListNamesNoAttribute, line.position,
         "the attribute list names no attribute: no attribute above this line is on channel " +
             channels + ", so the parameter controls nothing");
}

}  // namespace fxt
