#include "grammar/header.h"

#include <string_view>

#include "grammar/attribute.h"
#include "grammar/grammar_support.h"
#include "grammar/parameter.h"
#include "reader/keywords.h"
#include "reader/number_scan.h"
#include "reader/report.h"

namespace fxt {
namespace {

constexpr Transition kToStart[] = {Automatic(StateStart)};
constexpr Transition kToFixtureBody[] = {Automatic(StateFixtureBody)};

constexpr int VERSION_PART_MAX = 99;

bool CreateTemplate() {
  FixtureTemplate::Create(parseContext.slotIndex);
  AttributesChanged();
  ParametersChanged();
  if (CurrentTemplate() == nullptr) return false;
  CurrentTemplate()->sourceLine = parseContext.linePosition.line;
  parseContext.channelOwners.fill(0);
  parseContext.fixturePosition = parseContext.linePosition;
  return true;
}

void ReadModelName() {
  ParseContext& ctx = parseContext;
  if (ctx.quotedText.empty()) {
    ReportWarning(DiagnosticId::kInvalidModelName);
    return;
  }
  if (StoringValues()) LoadedTemplate().SetModelName(ctx.quotedText);
  ctx.nameSeen = 1;
}

// The value reads as "%d.%d" would: two numbers with a point between them;
// anything after the second number is ignored.
void ReadVersion() {
  const std::string_view value = parseContext.valueText;
  const ScannedNumber major = ScanDecimal(value);
  const std::string_view afterMajor = TextAfter(value, major);
  ScannedNumber minor{ScanStatus::kNoNumber, 0, nullptr};
  if (major.status == ScanStatus::kConverted && afterMajor.starts_with('.')) {
    minor = ScanDecimal(afterMajor.substr(1));
  }
  const auto inRange = [](int32_t part) { return part >= 0 && part <= VERSION_PART_MAX; };
  if (minor.status != ScanStatus::kConverted || !inRange(major.value) || !inRange(minor.value)) {
    ReportError(DiagnosticId::kInvalidVersion);
    return;
  }
  parseContext.versionSeen = 1;
  if (StoringValues()) {
    LoadedTemplate().version = static_cast<uint16_t>(major.value * 256 + minor.value);
  }
}

void ReadManufacturer() {
  ParseContext& ctx = parseContext;
  FixtureTemplate& fixture = LoadedTemplate();
  if (fixture.manufacturer.IsSet()) {
    ReportWarning(DiagnosticId::kManufacturerAlreadySet);
  }
  if (ctx.quotedText.empty()) {
    ReportError(DiagnosticId::kManufacturerNotSet);
    return;
  }
  ctx.manufacturerSeen = 1;
  if (StoringValues()) fixture.SetManufacturer(ctx.quotedText);
}

void ValidateTemplate() {
  ParseContext& ctx = parseContext;
  ctx.templateEnded = 1;
  // These carry no line number; they stand on the template's fixture line.
  const SourcePosition fixture = ctx.fixturePosition;
  if (!ctx.versionSeen) ReportWarningAt(DiagnosticId::kVersionMissing, fixture);
  if (!ctx.manufacturerSeen) ReportErrorAt(DiagnosticId::kManufacturerMissing, fixture);
  if (!ctx.nameSeen) ReportErrorAt(DiagnosticId::kFixtureNameMissing, fixture);
  if (!ctx.intensitySeen) ReportWarningAt(DiagnosticId::kIntensityMissing, fixture);
}

}  // namespace

const Transition* StateStart(Signal) { return kStartTable; }

const Transition* StateStartUnknownKeyword(Signal signal) {
  if (signal == SIG_ENTRY) ReportWarning(DiagnosticId::kExpectedFixture);
  return kToStart;
}

const Transition* StateFixture(Signal signal) {
  if (signal == SIG_ENTRY && !CreateTemplate()) return kToOutOfMemory;
  return kToFixtureBody;
}

const Transition* StateFixtureBody(Signal) { return kFixtureBodyTable; }

const Transition* StateFixtureName(Signal signal) {
  return ActOnEntry(signal, ReadModelName, kToFixtureBody);
}

const Transition* StateFixtureVersion(Signal signal) {
  return ActOnEntry(signal, ReadVersion, kToFixtureBody);
}

const Transition* StateFixtureManufacturer(Signal signal) {
  return ActOnEntry(signal, ReadManufacturer, kToFixtureBody);
}

// The product and the number of DMX channels are accepted and not looked at.
const Transition* StateFixtureProduct(Signal) { return kToFixtureBody; }
const Transition* StateFixtureNumDmx(Signal) { return kToFixtureBody; }

const Transition* StateFixtureUnknownKeyword(Signal signal) {
  if (signal == SIG_ENTRY) ReportWarning(DiagnosticId::kNotAHeaderKeyword);
  return kToFixtureBody;
}

const Transition* StateTemplateEnd(Signal signal) {
  return ActOnEntry(signal, ValidateTemplate, kToStart);
}

const Transition* StateOutOfMemory(Signal signal) {
  if (signal == SIG_ENTRY) EndLoad(DiagnosticId::kOutOfMemory);
  return kToStart;
}

const Transition* StateTooManyAttributes(Signal signal) {
  if (signal == SIG_ENTRY) {
    EndLoad(DiagnosticId::kTooManyAttributes);
  }
  return kToStart;
}

const Transition* StateTooManyParameters(Signal signal) {
  if (signal == SIG_ENTRY) {
    EndLoad(DiagnosticId::kTooManyParameters);
  }
  return kToStart;
}

}  // namespace fxt
