// The blanks that the reader drops outside quotes: a space and a tab. The
// tools that read a line as the reader does drop the same ones.
#pragma once

namespace fxt {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace fxt
