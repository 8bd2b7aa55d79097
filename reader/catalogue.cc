#include "reader/catalogue.h"

namespace fxt {
namespace {

using enum DiagnosticId;
constexpr Severity kNote = Severity::kNote;
constexpr Severity kWarning = Severity::kWarning;
constexpr Severity kError = Severity::kError;
constexpr Severity kFatal = Severity::kFatal;

// clang-format off
constexpr std::array<CatalogueEntry, CATALOGUE_SIZE> kEntries = {{
    {kReadingTemplate, "FT001", kNote, "Reading Fixture Template File", "reading the template"},
    {kTemplateLoaded, "FT002", kNote, "Template Loaded Successfully", "the template loaded"},
    {kTemplateNotLoaded, "FT003", kNote, "Template did not load.", "the template did not load"},

    {kUnexpectedEndOfLine, "FT101", kError, "ERROR - line %d: Unexpected end of line",
     "quoted text not closed before the end of the line or a '/'"},
    {kTooManyQuotes, "FT102", kError, "ERROR - line %d: too many quotes  SYNTAX error",
     "too many quotes: a value holds one quoted text"},
    {kNoKeyword, "FT103", kWarning, "WARNING - line %d: illegal token",
     "illegal token: the line begins with no keyword"},

    {kExpectedFixture, "FT201", kWarning, "WARNING - line %d: illegal token - expected fixture.",
     "a template begins with a fixture line"},
    {kNotAHeaderKeyword, "FT202", kWarning, "WARNING - line %d: undefined keyword for a fixture.",
     "keyword not allowed in the fixture header"},
    {kInvalidModelName, "FT203", kWarning, "WARNING - line %d: invalid model name.",
     "invalid model name: no quoted name"},
    {kInvalidVersion, "FT204", kError, "ERROR - line %d: invalid version number",
     "invalid version number: two numbers 0 to 99 with a point between them"},
    {kManufacturerAlreadySet, "FT205", kWarning,
     "WARNING - line %d: Manufacturer name already set.", "manufacturer name already set"},
    {kManufacturerNotSet, "FT206", kError, "ERROR - line %d: Manufacturer name not set.",
     "manufacturer name not set: no quoted name"},
    {kVersionMissing, "FT211", kWarning, "WARNING - Template Version Number missing.",
     "template version number missing"},
    {kManufacturerMissing, "FT212", kError, "ERROR - Manufacturer name missing.",
     "manufacturer name missing"},
    {kFixtureNameMissing, "FT213", kError, "ERROR - Fixture name missing.",
     "fixture name missing"},
    {kIntensityMissing, "FT214", kWarning, "WARNING - Intensity Attribute missing.",
     "intensity attribute missing"},

    {kDuplicateIntensity, "FT301", kError, "ERROR - line %d: dupicate Intensity channel found.",
     "duplicate intensity attribute"},
    {kInvalidAttributeType, "FT302", kError, "ERROR - line %d: invalid Type",
     "invalid attribute type: i, c, b or f"},
    {kChannelNotANumber, "FT303", kError, "ERROR - line %d: number expected ",
     "channel: number expected"},
    {kInvalidChannel, "FT304", kError, "ERROR - line %d: invalid channel number ",
     "invalid channel number"},
    {kDuplicateChannel, "FT305", kError, "ERROR - line %d: dupicate channel found",
     "duplicate channel: another attribute took it first"},
    {kSecondChannel, "FT306", kError, "ERROR - line %d: only one channel per attribute allowed",
     "only one channel per attribute allowed"},
    {kFineChannelNotANumber, "FT307", kError, "ERROR - line %d: dupicate channel found.",
     "fine channel: number expected"},
    {kHomeValueNotANumber, "FT308", kError, "ERROR - line %d: number expected",
     "home value: number expected"},
    {kHomeValueOutOfRange, "FT309", kError, "ERROR - homeValue above line %d: out of range",
     "homeValue out of range"},
    {kMinValueNotIntensity, "FT310", kError, "ERROR - line %d: minVal only valid for INTENSITY",
     "minVal only valid for INTENSITY"},
    {kMaxValueNotIntensity, "FT311", kError, "ERROR - line %d: maxVal only valid for INTENSITY",
     "maxVal only valid for INTENSITY"},
    {kLimitNotANumber, "FT312", kError, "ERROR - line %d: number expected",
     "limit: number expected"},
    {kLimitOutOfRange, "FT313", kError, "ERROR - line %d: number out of range",
     "limit out of range"},
    {kNotAnAttributeKeyword, "FT314", kWarning, "WARNING - line %d: unknown token - ignored",
     "keyword not allowed in an attribute block: ignored"},

    {kParameterNameAlreadySet, "FT401", kWarning, "WARNING - line %d: Parameter name already set.",
     "parameter name already set"},
    {kInvalidParameterType, "FT402", kError, "ERROR - line %d: invalid Type",
     "invalid parameter type: c, b, f or n"},
    {kAttributeListTwice, "FT403", kError,
     "ERROR - line %d: the attribute list has been initialised for this parameter already",
     "the attribute list was given already"},
    {kListIllegalCharacter, "FT404", kError, "ERROR - line %d: illegal character.",
     "illegal character in the attribute list"},
    {kIllegalAttributeNumber, "FT405", kError, "ERROR - line %d: illegal attribute number",
     "illegal attribute number: above 512"},
    {kSameNumberTwice, "FT406", kError,
     "ERROR - line %d: Found two argument numbers to be the same",
     "the same channel twice in the attribute list"},
    {kNoAttributeOnChannel, "FT407", kError,
     "ERROR - line %d: Found reference to a non existing attribute",
     "no attribute on this channel"},
    {kDisplayerNotANumber, "FT408", kError, "ERROR - line %d: number expected",
     "displayer: number expected"},
    {kDisplayerAlreadyDefined, "FT409", kError, "ERROR - line %d: Displayer already defined.",
     "displayer already defined"},
    {kDisplayerAlreadyUsed, "FT410", kError, "ERROR - line %d: Displayer already used.",
     "displayer already used"},
    {kNoDisplayer, "FT411", kError,
     "ERROR - line %d: no displayer number for previous parameter given",
     "no displayer number for the previous parameter"},
    {kNoParameterType, "FT412", kError, "ERROR - line %d: no type defined for this parameter",
     "no type defined for the previous parameter"},
    {kNotAParameterKeyword, "FT413", kWarning, "WARNING - line %d: illegal token",
     "illegal token: keyword not allowed in a parameter block"},

    {kNoAttributesYet, "FT501", kError, "ERROR - line %d: No Attributes set yet.",
     "no attributes set yet: attriblist= first, with fewer than 20"},
    {kStopSyntax, "FT502", kError, "ERROR - line %d: Syntax Error.",
     "syntax error: a stop value begins with '('"},
    {kMissingParenthesis, "FT503", kError, "ERROR - line %d: Missing ')'.", "missing ')'"},
    {kTooManyMouseMarks, "FT504", kError, "ERROR - line %d: too many mousable attributes",
     "too many mousable attributes: one m at most"},
    {kSlotIllegalCharacter, "FT505", kError, "ERROR - line %d: illegal character",
     "illegal character in the slot list"},
    {kSlotSyntax, "FT506", kError, "ERROR - line %d: syntax error (NUM).",
     "syntax error (NUM): a slot value without a number or an attribute"},
    {kValueOutOfRange, "FT507", kError, "ERROR - line %d: Value out of range.",
     "value out of range: above 255 for an 8-bit attribute"},
    {kTooManySlotValues, "FT508", kError,
     "ERROR - line %d: too many slot values, not enough attributes.",
     "too many slot values, not enough attributes"},
    {kModeSyntax, "FT509", kError, "ERROR - line %d: syntax error (mode)",
     "syntax error (mode): ',' expected after ')'"},
    {kLabelSyntax, "FT510", kError, "ERROR - line %d: syntax error.",
     "syntax error: the label's quote is not where it must be"},
    {kDisplayValueOutOfRange, "FT511", kError, "ERROR - line %d: display value out of range.",
     "display value out of range: -999 to 999"},
    {kInvalidMode, "FT512", kError, "ERROR - line %d: invalid mode",
     "invalid mode: n, b, w, 1, 2, 3 or d"},
    {kModeNeedsMouse, "FT513", kError,
     "ERROR - line %d: invalid mode for non-mouseable attribute",
     "invalid mode for non-mouseable attribute: only n goes without an m"},
    {kModeForbidsMouse, "FT514", kError, "ERROR - line %d: invalid mode for mouseable attribute",
     "invalid mode for mouseable attribute: n goes without an m"},
    {kTooManyStops, "FT515", kError,
     "ERROR - line %d: too many stops, a parameter holds at most 255",
     "too many stops: a parameter holds at most 255"},

    {kOutOfMemory, "FT901", kFatal, "FATAL ERROR - line %d: Out of Memory", "out of memory"},
    {kTooManyAttributes, "FT902", kFatal,
     "FATAL ERROR - line %d: too many attributes, a fixture holds at most 255",
     "too many attributes: a fixture holds at most 255"},
    {kTooManyParameters, "FT903", kFatal,
     "FATAL ERROR - line %d: too many parameters, a fixture holds at most 255",
     "too many parameters: a fixture holds at most 255"},

    {kUnusedSuppression, "FL001", kWarning, "", "a suppression comment that suppresses nothing"},
    {kTemplateWithoutEnd, "FL101", kError, "", "a template without an end line is never checked to its end"},
    {kNoFixtureLine, "FL102", kError, "", "no fixture line: the file holds no template"},
    {kUnknownKeyword, "FL103", kWarning, "", "unknown keyword close to a known one"},
    {kAttributeWithoutChannel, "FL104", kWarning, "", "attribute without channel=: it takes DMX channel 1"},
    {kFineChannelTaken, "FL105", kError, "", "a fine channel on a channel already in use"},
    {kChannelSharedUnseen, "FL106", kError, "", "two attributes on one DMX channel"},
    {kNameCaseDiffers, "FL107", kWarning, "", "a name that matches a table entry only in another letter case"},
    {kValueNotQuoted, "FL108", kWarning, "", "a value that must be in double quotes is not"},
    {kLineTooLong, "FL109", kWarning, "", "a line longer than 99 characters: the rest reads as a new line"},
    {kListNamesNoAttribute, "FL110", kWarning, "", "an attribute list that names no attribute"},
    {kInputEndByte, "FL111", kError, "", "a byte 0xFF ends the input before the end of the file"},
    {kByteOrderMark, "FL112", kError, "", "a byte-order mark: templates are single-byte text"},
    {kWideCharacter, "FL113", kError, "", "a character above U+00FF: templates are single-byte text"},
    {kStrayBlank, "FL114", kWarning, "", "a name that is a table's entry but for a stray blank"},
    {kStopOutOfOrder, "FL115", kWarning, "", "a fixed stop below the one before it"},
    {kStopRepeated, "FL116", kWarning, "", "two stops of one parameter with the same values"},
    {kRangeReversed, "FL117", kWarning, "", "a stop range whose low value is above its high one"},
    {kNameTooLong, "FL118", kWarning, "", "a name longer than the desk stores"},
    {kVersionThirdNumber, "FL119", kWarning, "", "a version with a third number, which is not stored"},
    {kTextAfterNumber, "FL120", kWarning, "", "text after a number that the tester does not read"},
}};
// clang-format on

constexpr bool InTableOrder() {
  for (size_t i = 0; i < kEntries.size(); ++i) {
    if (static_cast<size_t>(kEntries[i].id) != i) return false;
  }
  return true;
}
static_assert(InTableOrder(), "each entry stands at the place of its id");

}  // namespace

constexpr std::array<CatalogueEntry, CATALOGUE_SIZE> Catalogue = kEntries;

std::optional<DiagnosticId> DiagnosticWithCode(std::string_view code) {
  for (const CatalogueEntry& entry : Catalogue) {
    if (entry.code == code) return entry.id;
  }
  return std::nullopt;
}

}  // namespace fxt
