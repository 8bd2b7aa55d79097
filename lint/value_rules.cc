// The rules on values that the tester accepts but reads otherwise than they
// are written: a version with a third number, text after a number, and stops
// whose values cannot mean what their writer meant.
#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "lint/rules.h"
#include "lint/written_line.h"
#include "model/fixture_template.h"
#include "reader/number_scan.h"
#include "reader/parse_context.h"

namespace fxt {
namespace {

constexpr int32_t VERSION_PART_MAX = 99;

std::string LineWord(SourcePosition position) { return "line " + std::to_string(position.line); }

// A stop's values, as the desk shows them: an 8-bit attribute's on the DMX
// scale, a 16-bit one's as stored.
int32_t ShownValue(uint16_t stored, bool eightBit) { return eightBit ? stored >> 8 : stored; }

bool EightBit(const FixtureTemplate& fixture, const StopEntry& entry) {
  return fixture.AttributeAt(entry.attribute)->HasNoFineChannel();
}

// A stop's values as a message shows them: the first few, and how many
// there are where there are more, so that a stop of many attributes costs
// a message of a line.
std::string ValuesOf(const FixtureTemplate& fixture, std::span<const StopEntry> entries) {
  constexpr size_t kShown = 8;
  std::string values;
  for (size_t i = 0; i < std::min(entries.size(), kShown); ++i) {
    const StopEntry& entry = entries[i];
    const bool eightBit = EightBit(fixture, entry);
    values += (i == 0 ? "" : ",") + std::to_string(ShownValue(entry.low, eightBit));
    if (entry.high != entry.low) values += ":" + std::to_string(ShownValue(entry.high, eightBit));
  }
  if (entries.size() > kShown) values += ",... " + std::to_string(entries.size()) + " values";
  return "(" + values + ")";
}

std::string ValuesOf(const FixtureTemplate& fixture, const Stop& stop) {
  return ValuesOf(fixture, {stop.entries.get(), stop.entryCount});
}

// A fixed stop is one the operator steps to: no attribute of it follows the
// mouse.
bool IsFixed(const Stop& stop) {
  return stop.mode == STOP_MODE_NONE && stop.selectedEntry == NO_ENTRY_SELECTED;
}

// The values of a stop, its mode and the entry the mouse moves, as one key,
// written over `key`. A stop may hold 255 entries: the key is written in
// place, in room that serves stop after stop.
void WriteKeyOf(const Stop& stop, std::string& key) {
  constexpr size_t kEntryBytes = 5;
  key.resize(2 + kEntryBytes * stop.entryCount);
  key[0] = static_cast<char>(stop.mode);
  key[1] = static_cast<char>(stop.selectedEntry);
  char* out = key.data() + 2;
  for (size_t i = 0; i < stop.entryCount; ++i) {
    const StopEntry& entry = stop.entries[i];
    *out++ = static_cast<char>(entry.low >> 8);
    *out++ = static_cast<char>(entry.low & 0xFF);
    *out++ = static_cast<char>(entry.high >> 8);
    *out++ = static_cast<char>(entry.high & 0xFF);
    *out++ = static_cast<char>(entry.attribute);
  }
}

// The fixed stops of a parameter go up. A stop of several attributes is
// below the one before it only when it goes down in one attribute and up in
// none: a control parameter's stops may move from one attribute to the next.
bool GoesDown(std::span<const StopEntry> entries, std::span<const StopEntry> before) {
  if (entries.size() != before.size()) return false;
  bool down = false;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].low > before[i].low) return false;
    down = down || entries[i].low < before[i].low;
  }
  return down;
}

}  // namespace

// The tester reads the version as "%d.%d" does: a third number, or any
// other text after the second, is not read.
void RuleChecker::CheckVersion(const LineEvent& line) {
  const char* value = line.valueText.data();
  if (value == nullptr) return;
  const ScannedNumber major = ScanDecimal(value);
  if (major.status != ScanStatus::kConverted || *major.end != '.') return;
  const ScannedNumber minor = ScanDecimal(major.end + 1);
  const auto inRange = [](int32_t part) { return part >= 0 && part <= VERSION_PART_MAX; };
  if (minor.status != ScanStatus::kConverted || !inRange(major.value) || !inRange(minor.value)) {
    return;
  }
  const std::string_view rest(minor.end);
  if (rest.empty()) return;
  const std::string stored = std::to_string(major.value) + "." + std::to_string(minor.value);
  const WrittenLine text(bytes_, line);
  const std::string written(text.RawText(text.Value()));
  if (rest.size() >= 2 && rest[0] == '.' && rest[1] >= '0' && rest[1] <= '9') {
    Report(DiagnosticId::kVersionThirdNumber, line.position,
           "version " + written + " is stored as " + stored +
               ": the desk keeps two numbers, a major and a minor one");
    return;
  }
  const size_t ignored = static_cast<size_t>(minor.end - line.normalised.data());
  Report(DiagnosticId::kTextAfterNumber, line.position,
         "'" + std::string(text.RawText(text.RawOf(ignored, line.normalised.size()))) +
             "' after the version " + stored + " is not read; a remark begins with '/'");
}

// Lines whose number the tester reads as scanf does, or does not read at
// all: what follows the number is never looked at. A line whose number must
// stand alone draws the tester's own error instead.
void RuleChecker::CheckTextAfterNumber(const LineEvent& line, Block block) {
  const TokenId token = line.Token();
  const bool header = block == Block::kHeader && token == TOKEN_NUM_DMX;
  const bool attribute =
      block == Block::kAttribute &&
      (token == TOKEN_HOME_VALUE || token == TOKEN_DEFLECTION || token == TOKEN_INVERT);
  if ((!header && !attribute) || line.valueText.size() < 2) return;
  const char* value = line.valueText.data();
  const bool hex = token == TOKEN_HOME_VALUE && value[1] == 'x';
  const ScannedNumber number = hex ? ScanHex(value) : ScanDecimal(value);
  if (number.status != ScanStatus::kConverted || *number.end == '\0') return;
  const WrittenLine text(bytes_, line);
  const size_t numberEnd = static_cast<size_t>(number.end - line.normalised.data());
  const ByteSpan ignored = text.RawOf(numberEnd, line.normalised.size());
  ByteSpan read = {text.Value().begin, ignored.begin};
  while (read.end > read.begin && IsBlank(text.Raw()[read.end - 1])) --read.end;
  Report(DiagnosticId::kTextAfterNumber, line.position,
         "'" + std::string(text.RawText(ignored)) + "' after the number " +
             std::string(text.RawText(read)) + " is not read; a remark begins with '/'");
}

// A stop line that built a stop: the stop is the parameter's last, made on
// this line, and no error came before it.
void RuleChecker::CheckStop(const LineEvent& line) {
  FixtureTemplate* fixture = CurrentTemplate();
  if (fixture == nullptr || parseContext.errorCount != 0 || parseContext.parameterNumber < 1) {
    return;
  }
  const Parameter* parameter = fixture->ParameterAt(parseContext.parameterNumber);
  if (parameter == nullptr || parameter->stopCount == 0) return;
  const Stop& stop = parameter->furtherStops.Last(parameter->firstStop);
  if (stop.sourceLine != line.position.line) return;
  CheckStopRanges(line, stop);
  CheckStopOrder(line, stop);
  CheckStopRepeated(line, stop);
}

void RuleChecker::CheckStopRanges(const LineEvent& line, const Stop& stop) {
  const FixtureTemplate& fixture = *CurrentTemplate();
  for (size_t i = 0; i < stop.entryCount; ++i) {
    const StopEntry& entry = stop.entries[i];
    if (entry.low <= entry.high) continue;
    const bool eightBit = EightBit(fixture, entry);
    Report(DiagnosticId::kRangeReversed, line.position,
           "the range " + std::to_string(ShownValue(entry.low, eightBit)) + ":" +
               std::to_string(ShownValue(entry.high, eightBit)) +
               " runs backwards: its low value is above its high one");
  }
}

// The fixed stops of a parameter go up.
void RuleChecker::CheckStopOrder(const LineEvent& line, const Stop& stop) {
  if (!IsFixed(stop)) return;
  const FixtureTemplate& fixture = *CurrentTemplate();
  const std::span<const StopEntry> entries(stop.entries.get(), stop.entryCount);
  if (lastFixedStop_ && GoesDown(entries, lastFixedStop_->entries)) {
    const SourcePosition before = lastFixedStop_->line;
    Report(DiagnosticId::kStopOutOfOrder, line.position,
           "the stop " + ValuesOf(fixture, stop) + " comes after the stop " +
               ValuesOf(fixture, lastFixedStop_->entries) +
               ": a parameter's fixed stops go from the lowest values to the highest",
           {{"the stop before it, on " + LineWord(before), before}});
  }
  if (!lastFixedStop_) lastFixedStop_.emplace();
  lastFixedStop_->entries.assign(entries.begin(), entries.end());
  lastFixedStop_->line = line.position;
}

void RuleChecker::CheckStopRepeated(const LineEvent& line, const Stop& stop) {
  const uint64_t number = ++stopsChecked_;
  WriteKeyOf(stop, stopKey_);
  const auto first = stopValues_.find(stopKey_);
  if (first == stopValues_.end()) {
    ReportRepeatRun();
    stopValues_.emplace(stopKey_, line.position);
    return;
  }
  if (repeatRun_ && repeatRun_->lastStop + 1 == number && repeatRun_->key == stopKey_) {
    repeatRun_->last = line.position;
    repeatRun_->lastStop = number;
    ++repeatRun_->copies;
    return;
  }
  ReportRepeatRun();
  repeatRun_ = RepeatRun{
      stopKey_, ValuesOf(*CurrentTemplate(), stop), first->second, line.position, line.position, 1,
      number};
}

void RuleChecker::ReportRepeatRun() {
  if (!repeatRun_) return;
  const RepeatRun run = std::move(*repeatRun_);
  repeatRun_.reset();
  std::vector<Note> notes = {{"the same values on " + LineWord(run.original), run.original}};
  std::string copies;
  if (run.copies > 1) {
    copies = " and the " + std::to_string(run.copies - 1) +
             (run.copies == 2 ? " stop after it" : " stops after it") + " in a row";
    notes.push_back({"the last copy in that row, on " + LineWord(run.last), run.last});
  }
  Report(DiagnosticId::kStopRepeated, run.first,
         "the stop " + run.values + copies + (run.copies > 1 ? " have" : " has") +
             " the values and the mode of an earlier stop: the desk cannot tell them apart",
         std::move(notes));
}

}  // namespace fxt
