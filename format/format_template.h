// The formatter: one layout for every template, which never changes what
// the tester reports or the model it builds. fxtfmt and the language
// server's formatting requests both come here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/text_edit.h"
#include "format/text_sink.h"

namespace fxt {

// The choices where people differ, kept few. The command line fills them,
// and a settings file would fill them the same way.
inline constexpr int MAX_INDENT = 8;

struct FormatOptions {
  int indent = 2;  // blanks before each line of an attribute or parameter block, to MAX_INDENT
};

struct Formatting {
  // To the text as given, in order; none when it is laid out already.
  std::vector<TextEdit> edits;
  std::string laidOut;  // the text with the edits applied, when there are any
};

// Lays a template out: block keywords at the start of the line, the lines of
// attribute and parameter blocks indented, "keyword = value", a stop's parts
// after ", ", keywords spelled as the language spells them, remarks where
// they stand (those after code aligned in their block), no trailing blanks
// and one line end after the last line, in the style of the file's first.
// A line that the reader would read otherwise in any new layout (one past
// 99 bytes, a quote left open, a '*' first, a stray carriage return or NUL)
// stays as it is, and so does everything from a 0xFF byte on, which the
// tester never reads.
Formatting FormatTemplate(std::string_view text, const FormatOptions& options);

// The text laid out, or none when it is laid out already: FormatTemplate's
// edits applied, without making the edits, for a program that writes the
// text whole.
std::optional<TextBytes> LaidOutText(std::string_view text, const FormatOptions& options);

// The text laid out, whether or not that changes it.
std::string FormattedText(std::string_view text, const FormatOptions& options);

}  // namespace fxt
