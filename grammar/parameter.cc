#include "grammar/parameter.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <span>
#include <string>
#include <string_view>

#include "grammar/attribute.h"
#include "grammar/grammar_support.h"
#include "grammar/header.h"
#include "grammar/stop.h"
#include "reader/keywords.h"
#include "reader/line_reader.h"
#include "reader/number_scan.h"
#include "reader/report.h"

namespace fxt {
namespace {

constexpr Transition kToTooManyParameters[] = {Automatic(StateTooManyParameters)};

constexpr int32_t ILLEGAL_ATTRIBUTE_NUMBER_ABOVE = 512;
// A parameter list of at most this many nodes is walked for its displayers:
// cheaper than counting it into the index.
constexpr int64_t WALKED_LIST_MOST_NODES = 16;

Parameter& CurrentParameter() {
  return *LoadedTemplate().ParameterAt(parseContext.parameterNumber);
}

size_t ParameterNodes(const FixtureTemplate& fixture) {
  return fixture.FurtherParameters().size() + 1;
}

bool DisplayerIndexCountedFor(const FixtureTemplate& fixture, size_t nodes) {
  const ParseContext& ctx = parseContext;
  return ctx.displayerUsesTemplate == &fixture && ctx.displayerUsesNodes == nodes;
}

// The displayer index answers for the template's list as it now stands.
bool DisplayerIndexCurrent(const FixtureTemplate& fixture) {
  return DisplayerIndexCountedFor(fixture, ParameterNodes(fixture));
}

void IndexDisplayers(const FixtureTemplate& fixture) {
  ParseContext& ctx = parseContext;
  ctx.displayerUses.fill(0);
  ++ctx.displayerUses[fixture.firstParameter.displayer];
  for (const Parameter* parameter : fixture.FurtherParameters()) {
    ++ctx.displayerUses[parameter->displayer];
  }
  ctx.displayerUsesTemplate = &fixture;
  ctx.displayerUsesNodes = ParameterNodes(fixture);
}

// AddParameter(NO_DISPLAYER) appended a node without a displayer. Into an
// empty list it writes the node held in the record, whatever that held: that
// list is counted afresh.
void FollowAppendedParameter(const FixtureTemplate& fixture, uint8_t countBefore) {
  ParseContext& ctx = parseContext;
  const size_t nodes = ParameterNodes(fixture);
  if (countBefore == 0 || !DisplayerIndexCountedFor(fixture, nodes - 1)) {
    ParametersChanged();
    return;
  }
  ++ctx.displayerUses[NO_DISPLAYER];
  ctx.displayerUsesNodes = nodes;
}

const Transition* CreateParameter() {
  FixtureTemplate& fixture = LoadedTemplate();
  const uint8_t countBefore = fixture.parameterCount;
  Parameter* parameter = fixture.AddParameter(NO_DISPLAYER);
  if (parameter == nullptr) {
    ParametersChanged();
    return fixture.parameterCount >= MAX_PARAMETERS ? kToTooManyParameters : kToOutOfMemory;
  }
  // One that replaced an earlier parameter without a displayer leaves every
  // count as it was.
  if (fixture.parameterCount != countBefore) FollowAppendedParameter(fixture, countBefore);
  parameter->sourceLine = parseContext.linePosition.line;
  parseContext.attribListCount = LIST_NOT_GIVEN;
  RaiseCounter(parseContext.parameterNumber);
  return kToParameterBody;
}

void ReadTypeName() {
  Parameter& parameter = CurrentParameter();
  if (parameter.typeName.IsSet()) ReportWarning(DiagnosticId::kParameterNameAlreadySet);
  if (StoringValues()) parameter.SetTypeName(parseContext.quotedText);
}

int32_t ParameterKindOf(char letter) {
  switch (letter) {
    case 'c':
      return KIND_C;
    case 'b':
      return KIND_B;
    case 'f':
      return KIND_F;
    case 'n':
      return KIND_N;
    default:
      ReportError(DiagnosticId::kInvalidParameterType);
      return KIND_NONE;
  }
}

void ReadKind() { CurrentParameter().kind = ParameterKindOf(FirstValueChar()); }

// One attriblist= line. Its numbers are DMX channels; the parameter keeps the
// numbers of the attributes on them. The attributes do not change while the
// line is read, so what the line looks up is found once for the whole line.
class AttribListLine {
 public:
  void Read() {
    ParseContext& ctx = parseContext;
    if (ctx.attribListCount != LIST_NOT_GIVEN) {
      ReportError(DiagnosticId::kAttributeListTwice);
    }
    ctx.attribListCount = 0;
    const std::string_view value = ctx.valueText;
    // A number of digits alone is read as it goes by; any other reads as
    // atoi reads it, once it has ended.
    size_t numberStart = 0;
    int64_t digitsValue = 0;
    bool digitsAlone = true;
    for (size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      if (c >= '0' && c <= '9') {
        digitsValue = std::min<int64_t>(digitsValue * 10 + (c - '0'), INT32_MAX);
      } else if (c == ',') {
        const std::string_view number = value.substr(numberStart, i - numberStart);
        EndNumber(digitsAlone ? static_cast<int32_t>(digitsValue) : DecimalValue(number));
        numberStart = i + 1;
        digitsValue = 0;
        digitsAlone = true;
      } else {
        ReportError(DiagnosticId::kListIllegalCharacter);
        digitsAlone = false;
      }
    }
    // The value's end ends its last number, an empty one too.
    if (ctx.valueGiven) {
      const std::string_view number = value.substr(numberStart);
      EndNumber(digitsAlone ? static_cast<int32_t>(digitsValue) : DecimalValue(number));
    }
    if (addedCount_ > 0) CurrentParameter().AppendAttributes({added_.data(), addedCount_});
  }

 private:
  // Earlier entries of this line with each value.
  std::array<uint8_t, 256> timesListed_{};
  // The attribute numbers that the line adds to its parameter: appended when
  // the line ends, in one piece. Nothing reads them before. Only the first
  // addedCount_ are ever written, so they are not cleared first.
  std::array<uint8_t, MAX_ATTRIBUTE_NUMBERS> added_;
  size_t addedCount_ = 0;

  void EndNumber(int32_t value) {
    ParseContext& ctx = parseContext;
    const uint8_t channel = static_cast<uint8_t>(value);
    const auto index = static_cast<size_t>(ctx.attribListCount);
    if (index < ctx.attribListNumbers.size()) ctx.attribListNumbers[index] = channel;
    if (value > ILLEGAL_ATTRIBUTE_NUMBER_ABOVE) {
      ReportError(DiagnosticId::kIllegalAttributeNumber);
    }
    if (ctx.intensitySeen && channel <= DMX_CHANNEL_COUNT &&
        ctx.channelOwners[channel] == ctx.intensityAttribute && StoringValues()) {
      LoadedTemplate().AttributeAt(ctx.intensityAttribute)->kind = KIND_INTENSITY_LISTED;
    }
    ReportErrorTimes(DiagnosticId::kSameNumberTwice, timesListed_[channel]);
    ++timesListed_[channel];
    if (const int number = AttributeOnChannel(channel)) {
      if (StoringValues() && addedCount_ < added_.size()) {
        added_[addedCount_++] = static_cast<uint8_t>(number);
      }
    } else {
      ReportError(DiagnosticId::kNoAttributeOnChannel);
    }
    ++ctx.attribListCount;
  }

  // The first attribute, from number 1 up to attributeNumber, whose channel
  // field's low 8 bits plus one equal `channel`; 0 when there is none.
  static int AttributeOnChannel(uint8_t channel) {
    // The template's first attribute is held inside it even while the
    // template has none; it is no member of the list then.
    if (channel == 0 || LoadedTemplate().attributeCount == 0) return 0;
    if (parseContext.channelIndexStale) IndexChannels();
    return parseContext.firstWithChannelByte[channel - 1];
  }

  // Numbers past the list's end name its last attribute again, so the list's
  // own attributes, up to attributeNumber, answer for every number.
  static void IndexChannels() {
    ParseContext& ctx = parseContext;
    ctx.channelIndexStale = 0;
    ctx.firstWithChannelByte.fill(0);
    const FixtureTemplate& fixture = LoadedTemplate();
    if (ctx.attributeNumber < 1) return;
    NoteChannel(fixture.firstAttribute, 1);
    const std::span<Attribute* const> further = fixture.FurtherAttributes();
    const size_t walked =
        std::min<size_t>(further.size(), static_cast<size_t>(ctx.attributeNumber - 1));
    for (size_t i = 0; i < walked; ++i) NoteChannel(*further[i], i + 2);
  }

  static void NoteChannel(const Attribute& attribute, size_t number) {
    uint8_t& first = parseContext.firstWithChannelByte[static_cast<uint8_t>(attribute.channel)];
    if (first == 0) first = static_cast<uint8_t>(number);
  }
};

// How many of the parameters numbered 1 to parameterNumber carry
// `displayer`, found by visiting them. Numbers past the list's end all name
// its last parameter, so they are counted rather than visited.
int32_t WalkDisplayerUses(uint8_t displayer) {
  const int32_t last = parseContext.parameterNumber;
  if (last < 1) return 0;
  const FixtureTemplate& fixture = LoadedTemplate();
  const std::span<Parameter* const> further = fixture.FurtherParameters();
  const auto nodes = static_cast<int64_t>(further.size()) + 1;
  const auto carries = [displayer](const Parameter& parameter) {
    return parameter.displayer == displayer ? 1 : 0;
  };
  int64_t uses = carries(fixture.firstParameter);
  const auto walked = static_cast<size_t>(std::min<int64_t>(last, nodes) - 1);
  for (size_t i = 0; i < walked; ++i) uses += carries(*further[i]);
  if (last > nodes) {
    const Parameter& lastNode = further.empty() ? fixture.firstParameter : *further.back();
    uses += (last - nodes) * carries(lastNode);
  }
  return static_cast<int32_t>(std::min<int64_t>(uses, INT32_MAX));
}

// The same count, from the displayer index for a list of some length. Each
// parameter line adds at most one node, so parameterNumber does not fall
// behind the list's nodes; should it, the walk answers.
int32_t CountDisplayerUses(uint8_t displayer) {
  const ParseContext& ctx = parseContext;
  const int32_t last = ctx.parameterNumber;
  const FixtureTemplate& fixture = LoadedTemplate();
  const auto nodes = static_cast<int64_t>(ParameterNodes(fixture));
  if (last < nodes || nodes <= WALKED_LIST_MOST_NODES) return WalkDisplayerUses(displayer);
  if (!DisplayerIndexCurrent(fixture)) IndexDisplayers(fixture);
  const Parameter& lastNode = *fixture.ParameterAt(static_cast<int>(nodes));
  const int64_t repeats = lastNode.displayer == displayer ? last - nodes : 0;
  const int64_t uses = ctx.displayerUses[displayer] + repeats;
  const auto counted = static_cast<int32_t>(std::min<int64_t>(uses, INT32_MAX));
  assert(counted == WalkDisplayerUses(displayer));
  return counted;
}

void SetDisplayer(Parameter& parameter, uint8_t displayer) {
  if (DisplayerIndexCurrent(LoadedTemplate())) {
    --parseContext.displayerUses[parameter.displayer];
    ++parseContext.displayerUses[displayer];
  }
  parameter.displayer = displayer;
}

void ReadDisplayerNumber() {
  ParseContext& ctx = parseContext;
  if (!ValueIsNumber()) ReportError(DiagnosticId::kDisplayerNotANumber);
  const uint8_t displayer = static_cast<uint8_t>(DecimalValue(ctx.valueText));
  Parameter& parameter = CurrentParameter();
  if (parameter.displayer != NO_DISPLAYER) {
    ReportError(DiagnosticId::kDisplayerAlreadyDefined);
  }
  ReportErrorTimes(DiagnosticId::kDisplayerAlreadyUsed, CountDisplayerUses(displayer));
  SetDisplayer(parameter, displayer);
}

}  // namespace

void FinishParameter() {
  const Parameter& parameter = CurrentParameter();
  if (parameter.displayer == NO_DISPLAYER) {
    ReportError(DiagnosticId::kNoDisplayer);
  }
  if (parameter.kind == KIND_NONE) {
    ReportError(DiagnosticId::kNoParameterType);
  }
}

const Transition* StateParameter(Signal signal) {
  if (signal == SIG_ENTRY) return CreateParameter();
  return kToParameterBody;
}

const Transition* StateParameterBody(Signal) { return kParameterBodyTable; }

const Transition* StateParameterName(Signal signal) {
  return ActOnEntry(signal, ReadTypeName, kToParameterBody);
}

const Transition* StateParameterType(Signal signal) {
  return ActOnEntry(signal, ReadKind, kToParameterBody);
}

const Transition* StateParameterAttribList(Signal signal) {
  if (signal == SIG_ENTRY) {
    AttribListLine line;  // not value-initialised: its gathered numbers need no clearing
    line.Read();
  }
  return kToParameterBody;
}

const Transition* StateParameterDisplayerNum(Signal signal) {
  return ActOnEntry(signal, ReadDisplayerNumber, kToParameterBody);
}

const Transition* StateParameterThenFixture(Signal signal) {
  return ActOnEntry(signal, FinishParameter, kToFixture);
}

const Transition* StateParameterThenParameter(Signal signal) {
  return ActOnEntry(signal, FinishParameter, kToParameter);
}

const Transition* StateParameterThenAttribute(Signal signal) {
  return ActOnEntry(signal, FinishParameter, kToAttribute);
}

const Transition* StateParameterThenEnd(Signal signal) {
  return ActOnEntry(signal, FinishParameter, kToTemplateEnd);
}

const Transition* StateParameterUnknownKeyword(Signal signal) {
  if (signal == SIG_ENTRY) ReportWarning(DiagnosticId::kNotAParameterKeyword);
  return kToParameterBody;
}

}  // namespace fxt
