// Texts as a template holds them: single bytes (Latin-1), and nothing that
// would end a quoted value before its closing quote.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/name_tables.h"

namespace fxt {

// The model name keeps 15 characters; a stop label is kept to the length of
// the longest label of the desk's own table.
inline constexpr size_t MODEL_NAME_KEPT = 15;
inline constexpr size_t LABEL_KEPT = 9;
// The longest name the desk upper-cases and keeps for a parameter.
inline constexpr size_t NAME_KEPT = 49;

// A text of a fixture file (UTF-8) as Latin-1 for a quoted value: a '"'
// becomes ''', a '/' (which would begin a remark) '-', control characters
// blanks, and a character beyond Latin-1 '?' (a few dashes and quotes
// become their plain forms). The byte 0xFF, which would end the template,
// becomes 'y'. Blanks at either end go.
std::string DeskText(std::string_view utf8);

// As DeskText, but for a remark: '"' and '/' stay.
std::string RemarkText(std::string_view utf8);

// The text in double quotes, as messages and templates write names.
inline std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The first `limit` characters, without blanks at the end.
std::string Shortened(std::string_view text, size_t limit);

// Letters a to z upper-cased, as the desk does to manufacturer and
// parameter names.
std::string UpperCase(std::string_view text);

// The table's entry that `text` spells in any letter case, or null.
const char* TableEntry(std::string_view text, NameTable table);

}  // namespace fxt
