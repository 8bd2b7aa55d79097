// One template line as the formatter sees it: where its code and its remark
// stand, and the code written in the one layout. What a line means is the
// reader's business: the keyword comes from the reader, and every layout
// proposed here is kept only when the reader reads it as the line it
// replaces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reader/blank.h"
#include "reader/keywords.h"

namespace fxt {

// A line's bytes without its line end, cut where its layout may change.
struct LineParts {
  std::string_view code;    // from its first byte that is no blank to its last
  std::string_view remark;  // from the '/' that starts it, without trailing blanks; empty for none
};

// Cuts a line whose first '/' stands outside quotes: the reader ends a line
// at a '/' inside quotes too, and such a line is never laid out anew.
LineParts SplitLine(std::string_view line);

enum class Spacing : uint8_t {
  kCanonical,  // "keyword = value", a stop's parts after ", "
  kCompact,    // no blank that may go, for a line that is long already
};

// Appends the code of a line that begins with `keyword`, laid out: the
// keyword as the table spells it, one blank either side of its '=', a stop's
// slot list without blanks and its parts after ", ", an attribute list
// without blanks. Text after a keyword that takes no value stays as written.
void AppendLaidOutCode(std::string& out, std::string_view code, const Keyword& keyword,
                       Spacing spacing);

}  // namespace fxt
