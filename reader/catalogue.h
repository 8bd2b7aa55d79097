// The catalogue of diagnostics: every message a load can report, and every
// finding of the lint rules, each with a stable code that is never reused,
// its severity, the tester's exact text and the short text editors show.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fxt {

enum class Severity : uint8_t {
  kNote,     // the load's own messages: no effect on the counts
  kWarning,  // sets warningFlag
  kError,    // adds one to errorCount
  kFatal,    // an error that ends the load
};

// Every entry of the catalogue, in table order.
enum class DiagnosticId : uint8_t {
  // The load's own messages.
  kReadingTemplate,
  kTemplateLoaded,
  kTemplateNotLoaded,
  // Lines.
  kUnexpectedEndOfLine,
  kTooManyQuotes,
  kNoKeyword,
  // The fixture header and the end of a template.
  kExpectedFixture,
  kNotAHeaderKeyword,
  kInvalidModelName,
  kInvalidVersion,
  kManufacturerAlreadySet,
  kManufacturerNotSet,
  kVersionMissing,
  kManufacturerMissing,
  kFixtureNameMissing,
  kIntensityMissing,
  // Attribute blocks.
  kDuplicateIntensity,
  kInvalidAttributeType,
  kChannelNotANumber,
  kInvalidChannel,
  kDuplicateChannel,
  kSecondChannel,
  kFineChannelNotANumber,
  kHomeValueNotANumber,
  kHomeValueOutOfRange,
  kMinValueNotIntensity,
  kMaxValueNotIntensity,
  kLimitNotANumber,
  kLimitOutOfRange,
  kNotAnAttributeKeyword,
  // Parameter blocks.
  kParameterNameAlreadySet,
  kInvalidParameterType,
  kAttributeListTwice,
  kListIllegalCharacter,
  kIllegalAttributeNumber,
  kSameNumberTwice,
  kNoAttributeOnChannel,
  kDisplayerNotANumber,
  kDisplayerAlreadyDefined,
  kDisplayerAlreadyUsed,
  kNoDisplayer,
  kNoParameterType,
  kNotAParameterKeyword,
  // Stop lines.
  kNoAttributesYet,
  kStopSyntax,
  kMissingParenthesis,
  kTooManyMouseMarks,
  kSlotIllegalCharacter,
  kSlotSyntax,
  kValueOutOfRange,
  kTooManySlotValues,
  kModeSyntax,
  kLabelSyntax,
  kDisplayValueOutOfRange,
  kInvalidMode,
  kModeNeedsMouse,
  kModeForbidsMouse,
  kTooManyStops,
  // Ends of a load.
  kOutOfMemory,
  kTooManyAttributes,
  kTooManyParameters,
  // The lint rules: what fxtlint finds beyond the tester. They have no
  // tester's text.
  kUnusedSuppression,
  kTemplateWithoutEnd,
  kNoFixtureLine,
  kUnknownKeyword,
  kAttributeWithoutChannel,
  kFineChannelTaken,
  kChannelSharedUnseen,
  kNameCaseDiffers,
  kValueNotQuoted,
  kLineTooLong,
  kListNamesNoAttribute,
  kInputEndByte,
  kByteOrderMark,
  kWideCharacter,
  kStrayBlank,
  kStopOutOfOrder,
  kStopRepeated,
  kRangeReversed,
  kNameTooLong,
  kVersionThirdNumber,
  kTextAfterNumber,

  kCount,  // not an entry: the number of entries
};

struct CatalogueEntry {
  DiagnosticId id;
  std::string_view code;  // letters then digits, e.g. FT304
  Severity severity;      // the default severity
  const char* format;     // the tester's exact text, %d standing for the line number; "" for a rule
  std::string_view summary;  // what an editor shows
};

inline constexpr size_t CATALOGUE_SIZE = static_cast<size_t>(DiagnosticId::kCount);

extern const std::array<CatalogueEntry, CATALOGUE_SIZE> Catalogue;

inline const CatalogueEntry& EntryOf(DiagnosticId id) { return Catalogue[static_cast<size_t>(id)]; }

inline bool IsLintRule(const CatalogueEntry& entry) { return entry.format[0] == '\0'; }

// The entry with the code, if any.
std::optional<DiagnosticId> DiagnosticWithCode(std::string_view code);

}  // namespace fxt
