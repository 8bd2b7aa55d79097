#include "grammar/attribute.h"

#include "grammar/grammar_support.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
#include "reader/keywords.h"
#include "reader/line_reader.h"
#include "reader/number_scan.h"
#include "reader/report.h"

namespace fxt {
namespace {

constexpr Transition kToAttributeBody[] = {Automatic(StateAttributeBody)};
constexpr Transition kToTooManyAttributes[] = {Automatic(StateTooManyAttributes)};

constexpr int MIN_VALUE_LIMIT = 255;
constexpr int MAX_VALUE_LIMIT = 256;
constexpr int8_t BITS_PER_DMX_VALUE = 8;

Attribute& CurrentAttribute() {
  return *LoadedTemplate().AttributeAt(parseContext.attributeNumber);
}

// intensityAttribute holds 255 both while none is declared and for
// attribute 255, so only intensitySeen tells whether there is one.
bool IsIntensityAttribute() {
  const ParseContext& ctx = parseContext;
  return ctx.intensitySeen && ctx.attributeNumber == ctx.intensityAttribute;
}

void DeclareIntensityAttribute() {
  parseContext.intensitySeen = 1;
  parseContext.intensityAttribute = static_cast<uint8_t>(parseContext.attributeNumber);
}

const Transition* CreateAttribute() {
  FixtureTemplate& fixture = LoadedTemplate();
  if (fixture.attributeCount >= MAX_ATTRIBUTES) return kToTooManyAttributes;
  Attribute* attribute = fixture.AddAttribute();
  if (attribute == nullptr) return kToOutOfMemory;
  attribute->sourceLine = parseContext.linePosition.line;
  RaiseCounter(parseContext.attributeNumber);
  AttributesChanged();
  parseContext.pendingHomeValue = HOME_VALUE_NONE;
  parseContext.channelGiven = 0;
  return kToAttributeBody;
}

void ReadTypeName() {
  // Compared whole: a name whose quote is never closed ends in a NUL.
  const std::string_view name = parseContext.quotedText;
  Attribute& attribute = CurrentAttribute();
  attribute.SetTypeName(name);
  if (name == "INTENSITY") {
    attribute.kind = KIND_INTENSITY;
    DeclareIntensityAttribute();
  }
  if (name == "PAN") attribute.kind = KIND_F;
}

uint8_t AttributeKindOf(char letter) {
  switch (letter) {
    case 'i': {
      if (parseContext.intensitySeen && !IsIntensityAttribute()) {
        ReportError(DiagnosticId::kDuplicateIntensity);
      }
      DeclareIntensityAttribute();
      return KIND_INTENSITY;
    }
    case 'c':
      return KIND_C;
    case 'b':
      return KIND_B;
    case 'f':
      return KIND_F;
    default:
      ReportError(DiagnosticId::kInvalidAttributeType);
      return KIND_NONE;
  }
}

void ReadKind() { CurrentAttribute().kind = AttributeKindOf(FirstValueChar()) & 0x0F; }

// Channel 0 belongs to the intensity attribute alone, which must therefore be
// declared before its channel= line.
void ReadChannel() {
  ParseContext& ctx = parseContext;
  if (!ValueIsNumber()) ReportError(DiagnosticId::kChannelNotANumber);
  const int32_t channel = DecimalValue(ctx.valueText);
  if (channel > DMX_CHANNEL_COUNT || (channel == 0 && !IsIntensityAttribute())) {
    ReportError(DiagnosticId::kInvalidChannel);
  }
  if (channel >= 0 && channel <= DMX_CHANNEL_COUNT) {
    uint8_t& owner = ctx.channelOwners[static_cast<size_t>(channel)];
    if (owner == 0) {
      owner = static_cast<uint8_t>(ctx.attributeNumber);
    } else {
      ReportError(DiagnosticId::kDuplicateChannel);
    }
  }
  if (ctx.channelGiven) {
    ReportError(DiagnosticId::kSecondChannel);
    return;
  }
  CurrentAttribute().channel = static_cast<int16_t>(int64_t{channel} - 1);
  AttributesChanged();
  ctx.channelGiven = 1;
}

void ReadFineChannel() {
  if (!ValueIsNumber()) ReportError(DiagnosticId::kFineChannelNotANumber);
  const int32_t channel = DecimalValue(parseContext.valueText);
  if (StoringValues()) CurrentAttribute().fineChannel = static_cast<uint8_t>(int64_t{channel} - 1);
}

// A value such as 0x1f reads as hexadecimal, any other as decimal. An empty
// value changes nothing and reports nothing.
void ReadHomeValue() {
  const std::string_view value = parseContext.valueText;
  const bool hex = value.size() >= 2 && value[1] == 'x';
  const ScannedNumber scanned = hex ? ScanHex(value) : ScanDecimal(value);
  if (scanned.status == ScanStatus::kConverted) {
    parseContext.pendingHomeValue = scanned.value;
    parseContext.pendingHomeValuePosition = parseContext.linePosition;
  }
  if (scanned.status == ScanStatus::kNoNumber) ReportError(DiagnosticId::kHomeValueNotANumber);
}

// Reads a limit of the intensity attribute; true when it may be stored.
bool ReadLimit(DiagnosticId notIntensity, uint32_t highest, int32_t& limit) {
  if (!IsIntensityAttribute()) ReportError(notIntensity);
  if (!ValueIsNumber()) ReportError(DiagnosticId::kLimitNotANumber);
  limit = DecimalValue(parseContext.valueText);
  if (static_cast<uint32_t>(limit) > highest) ReportError(DiagnosticId::kLimitOutOfRange);
  return StoringValues();
}

void ReadMinValue() {
  int32_t limit;
  if (ReadLimit(DiagnosticId::kMinValueNotIntensity, MIN_VALUE_LIMIT, limit)) {
    CurrentAttribute().minValue = static_cast<uint8_t>(limit);
  }
}

void ReadMaxValue() {
  int32_t limit;
  if (ReadLimit(DiagnosticId::kMaxValueNotIntensity, MAX_VALUE_LIMIT, limit)) {
    CurrentAttribute().maxValue = static_cast<int16_t>(limit);
  }
}

}  // namespace

// The home value waits for the block's end, so that a finechan= line after
// the homeval= line still decides its scale.
void FinishAttribute() {
  int32_t home = parseContext.pendingHomeValue;
  if (home == HOME_VALUE_NONE) return;
  Attribute& attribute = CurrentAttribute();
  if (attribute.HasNoFineChannel()) {
    if (home > 255) {
      // The text names the closing keyword's line; the place to mend is
      // the homeval= line.
      ReportErrorAt(DiagnosticId::kHomeValueOutOfRange, parseContext.pendingHomeValuePosition);
      return;
    }
    home = static_cast<int32_t>(static_cast<uint32_t>(home) << BITS_PER_DMX_VALUE);
  }
  if (!StoringValues()) return;
  attribute.homeValue = static_cast<uint16_t>(home);
}

const Transition* StateAttribute(Signal signal) {
  if (signal == SIG_ENTRY) return CreateAttribute();
  parseContext.pendingHomeValue = HOME_VALUE_NONE;
  return kToAttributeBody;
}

const Transition* StateAttributeBody(Signal) { return kAttributeBodyTable; }

const Transition* StateAttributeName(Signal signal) {
  return ActOnEntry(signal, ReadTypeName, kToAttributeBody);
}

const Transition* StateAttributeType(Signal signal) {
  return ActOnEntry(signal, ReadKind, kToAttributeBody);
}

const Transition* StateAttributeChannel(Signal signal) {
  return ActOnEntry(signal, ReadChannel, kToAttributeBody);
}

const Transition* StateAttributeFineChannel(Signal signal) {
  return ActOnEntry(signal, ReadFineChannel, kToAttributeBody);
}

const Transition* StateAttributeHomeValue(Signal signal) {
  return ActOnEntry(signal, ReadHomeValue, kToAttributeBody);
}

const Transition* StateAttributeMinValue(Signal signal) {
  return ActOnEntry(signal, ReadMinValue, kToAttributeBody);
}

const Transition* StateAttributeMaxValue(Signal signal) {
  return ActOnEntry(signal, ReadMaxValue, kToAttributeBody);
}

// Deflection and inversion are accepted and not looked at.
const Transition* StateAttributeDeflection(Signal) { return kToAttributeBody; }
const Transition* StateAttributeInvert(Signal) { return kToAttributeBody; }

const Transition* StateAttributeThenFixture(Signal signal) {
  return ActOnEntry(signal, FinishAttribute, kToFixture);
}

const Transition* StateAttributeThenAttribute(Signal signal) {
  return ActOnEntry(signal, FinishAttribute, kToAttribute);
}

const Transition* StateAttributeThenParameter(Signal signal) {
  return ActOnEntry(signal, FinishAttribute, kToParameter);
}

const Transition* StateAttributeThenEnd(Signal signal) {
  return ActOnEntry(signal, FinishAttribute, kToTemplateEnd);
}

const Transition* StateAttributeUnknownKeyword(Signal signal) {
  if (signal == SIG_ENTRY) ReportWarning(DiagnosticId::kNotAnAttributeKeyword);
  return kToAttributeBody;
}

}  // namespace fxt
