// What the tester makes of each letter of the language that is no keyword:
// the kinds of attributes and parameters, the stop modes, and the marks in a
// stop's values. The template language's page prints each text, and the
// language server shows it on the letter; tests hold both, and the grammar,
// to these tables.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace fxt {

enum class LetterRole : uint8_t {
  kAttributeKind,  // the first letter of type= in an attribute block
  kParameterKind,  // the first letter of type= in a parameter block
  kStopMode,       // the letter after a stop line's slot list
  kValueMark,      // a letter among a stop line's values
};

inline constexpr char ANY_OTHER_LETTER = '\0';
inline constexpr int32_t NO_CODE = -1;

struct LetterDoc {
  char letter;               // as the reader leaves it, lower case; ANY_OTHER_LETTER for the rest
  int32_t code;              // the code the model stores for it; NO_CODE for a mark
  std::string_view summary;  // a few words, for the record it is stored in
  std::string_view text;     // all that the tester makes of it
};

// Every letter of the role, the entry for any other letter last.
std::span<const LetterDoc> LetterDocs(LetterRole role);

// The letter's entry, or the one for any other letter.
const LetterDoc& LetterDocOf(LetterRole role, char letter);

// The first entry that stores `code`, or null.
const LetterDoc* LetterDocWithCode(LetterRole role, int32_t code);

// What the role's letters are called: "stop mode".
std::string_view LetterRoleName(LetterRole role);

}  // namespace fxt
